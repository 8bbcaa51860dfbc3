#include "find_bar.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include "output_view.h"
#include "qt_text.h"

namespace tarnix {

bool FindInPane(QPlainTextEdit* pane, const QString& text, bool matchCase, bool backwards)
{
    if (text.isEmpty())
        return false;
    QTextDocument::FindFlags flags;
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (backwards)
        flags |= QTextDocument::FindBackward;
    QTextDocument* document = pane->document();
    QTextCursor found = document->find(text, pane->textCursor(), flags);
    if (found.isNull()) {
        QTextCursor from(document);
        if (backwards)
            from.movePosition(QTextCursor::End);
        found = document->find(text, from, flags);
    }
    if (found.isNull())
        return false;
    pane->setTextCursor(found);
    return true;
}

FindBar::FindBar(QMainWindow* window, std::vector<QWidget*> panes)
    : window_(window), panes_(std::move(panes))
{
    setObjectName(QStringLiteral("FindBar"));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 2, 0, 2);
    auto* findRow = new QHBoxLayout;
    findText = new QLineEdit;
    findText->setObjectName(QStringLiteral("edFindText"));
    matchCase = new QCheckBox(literal("Учитывать регистр"));
    auto* next = new QPushButton(literal("Далее"));
    auto* previous = new QPushButton(literal("Назад"));
    findRow->addWidget(new QLabel(literal("Найти:")));
    findRow->addWidget(findText, 1);
    findRow->addWidget(next);
    findRow->addWidget(previous);
    findRow->addWidget(matchCase);
    rows->addLayout(findRow);

    replaceRow_ = new QWidget;
    auto* replaceRow = new QHBoxLayout(replaceRow_);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    replaceText = new QLineEdit;
    replaceText->setObjectName(QStringLiteral("edReplaceText"));
    auto* replace = new QPushButton(literal("Заменить"));
    auto* all = new QPushButton(literal("Заменить все"));
    replaceRow->addWidget(new QLabel(literal("Заменить на:")));
    replaceRow->addWidget(replaceText, 1);
    replaceRow->addWidget(replace);
    replaceRow->addWidget(all);
    rows->addWidget(replaceRow_);

    connect(findText, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(replaceText, &QLineEdit::returnPressed, this, [this] { replaceOne(); });
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(replace, &QPushButton::clicked, this, [this] { replaceOne(); });
    connect(all, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (QWidget* p : panes_)
            if (p == now)
                last_ = p;
    });
    // A large output is searched in the background; its outcome comes later.
    for (QWidget* p : panes_)
        if (auto* view = qobject_cast<OutputView*>(p))
            connect(view, &OutputView::searchDone, this, [this](bool found) { reportSearch(found); });
    addCommand(QKeySequence::Find, "Find1", [this] { openFind(); });
    addCommand(QKeySequence(Qt::Key_F3), "FindNext1", [this] { findNext(); });
    addCommand(QKeySequence(Qt::SHIFT | Qt::Key_F3), "FindPrevious1", [this] { findNext(true); });
    addCommand(QKeySequence(Qt::CTRL | Qt::Key_H), "Replace1", [this] { openReplace(); });
    hide();
}

void FindBar::addCommand(const QKeySequence& keys, const char* name, std::function<void()> step)
{
    auto* action = new QAction(window_);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, std::move(step));
    window_->addAction(action);
}

// The pane that last had the focus, or else the first one on show.
QWidget* FindBar::pane() const
{
    if (last_ && last_->isVisible())
        return last_;
    for (QWidget* p : panes_)
        if (p->isVisible())
            return p;
    return last_;
}

void FindBar::openFind()
{
    showReplace(false);
    if (QWidget* p = pane()) {
        const auto* view = qobject_cast<OutputView*>(p);
        const auto* edit = qobject_cast<QPlainTextEdit*>(p);
        const QString selected = view ? view->selectedText() : edit ? edit->textCursor().selectedText() : QString();
        if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
            findText->setText(selected);
    }
    show();
    findText->setFocus();
    findText->selectAll();
}

void FindBar::openReplace()
{
    openFind();
    showReplace(true);
}

void FindBar::showReplace(bool shown) { replaceRow_->setVisible(shown); }

bool FindBar::findNext(bool backwards)
{
    QWidget* p = pane();
    if (!p || findText->text().isEmpty())
        return false;
    if (auto* view = qobject_cast<OutputView*>(p)) {
        const OutputView::Search search = view->find(findText->text(), matchCase->isChecked(), backwards);
        if (search == OutputView::Search::Running) {
            tell(literal("Поиск: «%1»...").arg(findText->text()));
            return false;
        }
        return reportSearch(search == OutputView::Search::Found);
    }
    auto* edit = qobject_cast<QPlainTextEdit*>(p);
    return reportSearch(edit && FindInPane(edit, findText->text(), matchCase->isChecked(), backwards));
}

bool FindBar::reportSearch(bool found)
{
    if (found)
        window_->statusBar()->clearMessage();
    else
        tell(literal("Не найдено: «%1»").arg(findText->text()));
    return found;
}

bool FindBar::matches(const QString& selected) const
{
    return !selected.isEmpty() &&
           selected.compare(findText->text(), matchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

bool FindBar::replaceOne()
{
    auto* p = qobject_cast<QPlainTextEdit*>(pane());
    if (!p || p->isReadOnly())
        return false;
    QTextCursor cursor = p->textCursor();
    const bool replaced = matches(cursor.selectedText());
    if (replaced)
        cursor.insertText(replaceText->text());
    p->setTextCursor(cursor);
    findNext();
    return replaced;
}

int FindBar::replaceAll()
{
    auto* p = qobject_cast<QPlainTextEdit*>(pane());
    if (!p || p->isReadOnly() || findText->text().isEmpty())
        return 0;
    QTextDocument::FindFlags flags;
    if (matchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    int count = 0;
    QTextCursor edit(p->document());
    edit.beginEditBlock();
    for (QTextCursor found = p->document()->find(findText->text(), 0, flags); !found.isNull();
         found = p->document()->find(findText->text(), found, flags)) {
        found.insertText(replaceText->text());  // the search goes on after the inserted text
        ++count;
    }
    edit.endEditBlock();
    tell(literal("Заменено: %1").arg(count));
    return count;
}

void FindBar::tell(const QString& message) const { window_->statusBar()->showMessage(message, 5000); }

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Escape) {
        QWidget::keyPressEvent(event);
        return;
    }
    hide();
    if (QWidget* p = pane())
        p->setFocus();
}

FindBar* AddFindBar(QMainWindow* window)
{
    std::vector<QWidget*> panes;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (qobject_cast<QPlainTextEdit*>(child) || qobject_cast<OutputView*>(child))
            panes.push_back(child);
    auto* bar = new FindBar(window, std::move(panes));
    bar->layout()->setContentsMargins(6, 2, 6, 2);
    QWidget* focused = window->focusWidget();  // moving the controls forgets it
    auto* holder = new QWidget;
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(window->takeCentralWidget(), 1);
    column->addWidget(bar);
    window->setCentralWidget(holder);
    if (focused)
        focused->setFocus();
    return bar;
}

}  // namespace tarnix
