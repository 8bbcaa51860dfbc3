#include "scripted_ui.h"

#include <algorithm>

#include "platform/platform.h"

namespace tarnix {

void ScriptedUi::showMessage(const std::string& text)
{
    shown_.push_back({Shown::Message, text});
    if (onMessage)
        onMessage(text);
}

void ScriptedUi::showError(const std::string& text) { shown_.push_back({Shown::Error, text}); }

void ScriptedUi::showErrorUtf8(const std::string& text) { shown_.push_back({Shown::Error, text}); }

std::optional<std::string> ScriptedUi::openFileDialog(DialogKind, const std::string& filter)
{
    shown_.push_back({Shown::OpenDialog, filter});
    return nextAnswer();
}

std::optional<std::string> ScriptedUi::saveFileDialog(DialogKind, const std::string& filter)
{
    shown_.push_back({Shown::SaveDialog, filter});
    return nextAnswer();
}

void ScriptedUi::openDocument(const std::string& path) { shown_.push_back({Shown::Document, path}); }

bool ScriptedUi::waitForProgram(const ProgramWait& wait)
{
    waits_.push_back({wait.program, wait.goal});
    if (onWait)
        onWait(waits_.back());
    const int timeout = cancelAfter ? static_cast<int>(cancelAfter->count()) : -1;
    if (platform::waitForEnd(wait.endHandle, timeout))
        return true;
    waits_.back().cancelled = true;
    wait.cancel();
    return false;
}

std::size_t ScriptedUi::ask(const std::string& utf8Text, const std::vector<std::string>& utf8Buttons)
{
    shown_.push_back({Shown::Question, utf8Text});
    std::size_t answer = utf8Buttons.size() - 1;
    if (!questionAnswers_.empty()) {
        answer = std::min(questionAnswers_.front(), answer);
        questionAnswers_.pop_front();
    }
    return answer;
}

std::vector<std::string> ScriptedUi::textsOf(Shown::Kind kind) const
{
    std::vector<std::string> texts;
    for (const auto& s : shown_)
        if (s.kind == kind)
            texts.push_back(s.text);
    return texts;
}

std::optional<std::string> ScriptedUi::nextAnswer()
{
    if (answers_.empty())
        return std::nullopt;
    auto answer = answers_.front();
    answers_.pop_front();
    return answer;
}

}  // namespace tarnix
