// A Ui for tests: answers file dialogs from a script and records every message.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui.h"

namespace tarnix {

class ScriptedUi : public Ui {
public:
    struct Shown {
        enum Kind { Message, Error, OpenDialog, SaveDialog, Document, Question } kind;
        std::string text;  // the message, the dialog's filter, the document's path or the question (UTF-8)
        bool operator==(const Shown&) const = default;
    };

    // The next file dialog answers `path`; nothing means cancel.
    void answerDialog(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
    // The next question is answered with button `index`; unanswered questions choose the last
    // button (cancel).
    void answerQuestion(std::size_t index) { questionAnswers_.push_back(index); }
    std::vector<std::string> questions() const { return textsOf(Shown::Question); }
    // Runs while a message is open (before it is closed), e.g. to look at the state then.
    std::function<void(const std::string&)> onMessage;

    // An engine program waited for, as the progress window names it.
    struct Wait {
        std::string program, goal;
        bool cancelled = false;
        bool operator==(const Wait&) const = default;
    };
    // The user presses Cancel once a program has run this long; nothing: never.
    std::optional<std::chrono::milliseconds> cancelAfter;
    // Runs when a wait begins, while the program runs (e.g. to look at the state then).
    std::function<void(const Wait&)> onWait;
    const std::vector<Wait>& waits() const { return waits_; }

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> messages() const { return textsOf(Shown::Message); }
    std::vector<std::string> errors() const { return textsOf(Shown::Error); }
    void clear() { shown_.clear(); }

    void showMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    void showErrorUtf8(const std::string& text) override;  // recorded as an error, in UTF-8
    std::optional<std::string> openFileDialog(DialogKind kind, const std::string& filter) override;
    std::optional<std::string> saveFileDialog(DialogKind kind, const std::string& filter) override;
    void openDocument(const std::string& path) override;
    bool waitForProgram(const ProgramWait& wait) override;
    std::size_t ask(const std::string& utf8Text, const std::vector<std::string>& utf8Buttons) override;

private:
    std::vector<std::string> textsOf(Shown::Kind kind) const;
    std::optional<std::string> nextAnswer();

    std::deque<std::optional<std::string>> answers_;
    std::deque<std::size_t> questionAnswers_;
    std::vector<Shown> shown_;
    std::vector<Wait> waits_;
};

}  // namespace tarnix
