#include <QApplication>
#include <QKeyEvent>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>

#include "errors.h"
#include "form.h"
#include "qt_text.h"
#include "qt_ui.h"
#include "text_area.h"
#include "tests/workspace.h"

namespace tarnix {
namespace {

TEST(QtText, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(fromQt(toQt(all)), all);
    EXPECT_EQ(toQt("\x98").at(0).unicode(), 0x98);
    EXPECT_EQ(toQt(cp1251("Проект")), QStringLiteral("Проект"));
    EXPECT_EQ(fromQt(QStringLiteral("a\u4e2dб")), "a?\xe1");
}

TEST(TextArea, LinesAndBytesConvertBothWays)
{
    EXPECT_EQ(decodeLines(""), QString());
    EXPECT_EQ(decodeLines("a\r\nb\r\n"), QStringLiteral("a\nb"));
    EXPECT_EQ(decodeLines("a\nb"), QStringLiteral("a\nb"));
    EXPECT_EQ(decodeLines("a\r\n\r\n"), QStringLiteral("a\n"));
    EXPECT_EQ(decodeLines("a\rb\r"), QStringLiteral("a\nb"));
    EXPECT_EQ(encodeLines(QString()), "");
    EXPECT_EQ(encodeLines(QStringLiteral("a\nb")), "a\r\nb\r\n");
    EXPECT_EQ(encodeLines(QStringLiteral("a\n")), "a\r\n\r\n");
    EXPECT_EQ(encodeLines(QStringLiteral("\U0001F600я")), "?\xff\r\n");
}

TEST(TextArea, LoadSaveLoadIsStable)
{
    test::Workspace ws;
    QPlainTextEdit area;
    for (const std::string& content : {std::string("x\r\ny\r\n"), std::string("x\ny"), std::string("\r\n\r\n"),
                                       std::string(cp1251("правило 1\r\n"))}) {
        ws.write(ws.work + "f.txt", content);
        LoadTextArea(&area, ws.work + "f.txt");
        SaveTextArea(&area, ws.work + "g.txt");
        const std::string once = ws.read(ws.work + "g.txt");
        LoadTextArea(&area, ws.work + "g.txt");
        SaveTextArea(&area, ws.work + "g.txt");
        EXPECT_EQ(ws.read(ws.work + "g.txt"), once);
        EXPECT_EQ(splitLines(once), splitLines(content));
    }
}

TEST(TextArea, EveryTypedLineBreakEndsALine)
{
    EXPECT_EQ(encodeLines(QStringLiteral("a\u2028b\u2029c\nd")), "a\r\nb\r\nc\r\nd\r\n");

    test::Workspace ws;
    QPlainTextEdit area;
    area.setPlainText(QStringLiteral("one"));
    area.moveCursor(QTextCursor::End);
    QKeyEvent shiftEnter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&area, &shiftEnter);
    area.insertPlainText(QStringLiteral("two"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&area, &enter);
    area.insertPlainText(QStringLiteral("three"));
    ASSERT_TRUE(area.document()->toRawText().contains(QChar(0x2028)));
    EXPECT_EQ(GetLines(&area), (Lines{"one", "two", "three"}));
    SaveTextArea(&area, ws.work + "f.txt");
    EXPECT_EQ(ws.read(ws.work + "f.txt"), "one\r\ntwo\r\nthree\r\n");
}

// A file that cannot be read, or holds a line too long to lay out (it would freeze the window
// for minutes), is refused by the one loader, and the area keeps its text.
TEST(TextArea, FailedLoadKeepsTheText)
{
    test::Workspace ws;
    const std::string line(LongestShownLine, 'x');
    const struct {
        const char* name;
        std::optional<std::string> bytes;
        bool loads;
    } cases[] = {
        {"absent", std::nullopt, false},
        {"longest line", "a\r\n" + line + "\r\n", true},
        {"lines ended by CR alone", line + "\r" + line, true},
        {"one byte more", "a\n" + line + "x\n", false},
        {"last line unended", line + "x", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove((ws.work + "f.txt").c_str());
        if (c.bytes)
            ws.write(ws.work + "f.txt", *c.bytes);
        QPlainTextEdit area;
        area.setPlainText(QStringLiteral("mine"));
        if (c.loads) {
            LoadTextArea(&area, ws.work + "f.txt");
            EXPECT_EQ(area.document()->blockCount(), 2);
        } else {
            EXPECT_THROW(LoadTextArea(&area, ws.work + "f.txt"), Error);
            EXPECT_EQ(area.toPlainText(), QStringLiteral("mine"));
        }
    }
}

TEST(QtUi, FiltersBecomeCaseBlindQtFilters)
{
    const QStringList filters = qtNameFilters(cp1251("tsk файлы (*.tsk)|*TSK|Все файлы (*.*)|*.*"));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], QStringLiteral("tsk файлы (*.tsk) (*[tT][sS][kK])"));
    EXPECT_EQ(filters[1], QStringLiteral("Все файлы (*.*) (*)"));
}

// What a file dialog lists under each filter, found as the dialog finds it: the patterns in
// the filter's last parentheses, compared with case as on POSIX.
TEST(QtUi, FiltersListWhatTheirPatternsMeanOnWindows)
{
    test::Workspace ws;
    for (const char* name : {"Kb1", "KB", "a.tsk", "B.TSK", "kb.rul", "notes.txt"})
        ws.write(ws.work + name, "");
    const auto listed = [&](const QString& filter) {
        const QString patterns = filter.mid(filter.lastIndexOf(QLatin1Char('(')) + 1).chopped(1);
        QDir folder(toQt(ws.work), {}, QDir::Name, QDir::Files | QDir::CaseSensitive);
        folder.setNameFilters(patterns.split(QLatin1Char(' ')));
        return folder.entryList().join(QLatin1Char(' '));
    };
    const QStringList filters =
        qtNameFilters(cp1251("tsk файлы (*.tsk)|*TSK|Все файлы (*.*)|*.*|kb|kb.*|texts|*.txt; *.RUL"));
    ASSERT_EQ(filters.size(), 4);
    EXPECT_EQ(listed(filters[0]), QStringLiteral("B.TSK a.tsk"));
    EXPECT_EQ(listed(filters[1]), QStringLiteral("B.TSK KB Kb1 a.tsk kb.rul notes.txt"));
    EXPECT_EQ(listed(filters[2]), QStringLiteral("KB kb.rul"));
    EXPECT_EQ(listed(filters[3]), QStringLiteral("kb.rul notes.txt"));
}


// A window shown without blocking while a modal window runs takes clicks and keys; a window
// that does not belong to the modal one is blocked, as the toolkit does everywhere.
TEST(FormBase, WindowShownFromAModalWindowTakesInput)
{
    struct Probe {
        Form window;
        QPushButton* button = new QPushButton(QStringLiteral("Go"));
        QLineEdit* edit = new QLineEdit;
        int clicks = 0;
        explicit Probe(const char* name) : window(name)
        {
            auto* box = new QWidget;
            auto* layout = new QVBoxLayout(box);
            layout->addWidget(button);
            layout->addWidget(edit);
            window.setCentralWidget(box);
            QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        }
        void clickAndType()
        {
            QWindow* handle = window.windowHandle();
            QTest::mouseClick(handle, Qt::LeftButton, {}, button->mapTo(&window, button->rect().center()));
            edit->setFocus();
            QTest::keyClick(handle, Qt::Key_A);
        }
    };
    Form modal("Modal");
    Probe tool("Tool");
    Probe stranger("Stranger");
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &modal);
        tool.window.Show();
        stranger.window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&tool.window));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&stranger.window));
        tool.clickAndType();
        stranger.clickAndType();
        modal.Close();
    });
    modal.ShowModal();

    EXPECT_EQ(tool.clicks, 1);
    EXPECT_EQ(tool.edit->text(), QStringLiteral("a"));
    EXPECT_EQ(stranger.clicks, 0);
    EXPECT_EQ(stranger.edit->text(), QString());
    EXPECT_EQ(modal.windowModality(), Qt::NonModal);  // shown again with Show, it blocks nothing

    // Outside a modal window the tool window belongs to no one again.
    tool.window.Show();
    EXPECT_EQ(tool.window.windowHandle()->transientParent(), nullptr);
    tool.window.hide();
    stranger.window.hide();
}

}  // namespace
}  // namespace tarnix
