// The string function tester and the pattern substitution tester, driven through their
// controls. With TARNIX_SCREENSHOT_DIR set, a picture of each window in use is saved there.
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <gtest/gtest.h>

#include "Unit15.h"
#include "Unit18.h"
#include "tool_windows.h"

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace tarnix {
namespace {

class StringTesters : public ::testing::Test {
protected:
    StringTesters() { CreateToolWindows(); }
    ~StringTesters() override { DestroyToolWindows(); }

    // The control with this object name, the way a test tool or a screen reader finds it.
    template <typename Control>
    static Control* control(QWidget* window, const char* name)
    {
        auto* found = window->findChild<Control*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    static void type(QWidget* window, const char* edit, const QString& text)
    {
        control<QLineEdit>(window, edit)->setText(text);
    }
    static QString field(QWidget* window, const char* edit) { return control<QLineEdit>(window, edit)->text(); }
    static void click(QWidget* window, const char* button) { control<QPushButton>(window, button)->click(); }
    // Fills the fields, clicks the button and returns what the result field then holds.
    static QString run(QWidget* window, std::initializer_list<std::pair<const char*, QString>> fields,
                       const char* button, const char* result)
    {
        for (const auto& [edit, text] : fields)
            type(window, edit, text);
        click(window, button);
        return field(window, result);
    }

    static void picture(QWidget* window, const char* name)
    {
        if (const char* dir = std::getenv("TARNIX_SCREENSHOT_DIR"))
            window->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QString::fromLatin1(name) + ".png");
    }
};

TEST_F(StringTesters, ExecRunsTheFunctionNamedExactly)
{
    struct Case {
        const char* function;
        QString a1, a2, a3, result;
        QString status = {};  // the status bar's word on an outcome the result field cannot show
    };
    const QString unchanged = QStringLiteral("(as it was)");
    const QString unknown = QStringLiteral("Unknown function \"%1\": sub, delsub, delseq or findsub");
    const Case cases[] = {
        {"sub", "aaaa", "aa", "b", "bb"},
        {"sub", QStringLiteral("Мама мыла раму"), QStringLiteral("ма"), QStringLiteral("па"),
         QStringLiteral("Мапа мыла раму")},
        {"findsub", "hello", "l", "", "3"},
        {"findsub", "aaab", "aab", "", "", "Not found"},
        {"delsub", "xabab", "ab", "", "xab"},
        {"delseq", "a11b111", "", "", "ab111"},
        {"Sub", "aaaa", "aa", "b", unchanged, unknown.arg("Sub")},
        {"sub ", "aaaa", "aa", "b", unchanged, unknown.arg("sub ")},
        {"FindSub", "hello", "l", "", unchanged, unknown.arg("FindSub")},
        {"", "aaaa", "aa", "b", unchanged, unknown.arg("")},
    };
    for (const Case& c : cases) {
        const QString result = run(Form15,
                                   {{"edFun", QString::fromLatin1(c.function)}, {"eda1", c.a1}, {"eda2", c.a2},
                                    {"eda3", c.a3}, {"edres", unchanged}},
                                   "Button1", "edres");
        EXPECT_EQ(result, c.result) << c.function << "(" << c.a1.toStdString() << ", "
                                                   << c.a2.toStdString() << ", " << c.a3.toStdString() << ")";
        EXPECT_EQ(Form15->statusBar()->currentMessage(), c.status) << c.function;
    }
}

TEST_F(StringTesters, ExitHidesTheFunctionTesterAndKeepsItsFields)
{
    Form15->Show();
    type(Form15, "edFun", QStringLiteral("delseq"));
    click(Form15, "Button2");
    EXPECT_FALSE(Form15->isVisible());
    Form15->Show();
    EXPECT_EQ(field(Form15, "edFun"), QStringLiteral("delseq"));
    Form15->hide();
}

TEST_F(StringTesters, ExecSubstitutes)
{
    struct Case {
        QString input, pattern, replacement, result;
    };
    const Case cases[] = {
        {"aaa", "aa", "x", "xa"},
        {"abc", "", "x", "abc"},
        {QStringLiteral("Правило правило"), QStringLiteral("правило"), "rule", QStringLiteral("Правило rule")},
        {QString(40000, QLatin1Char('a')) + "c", "c", "d", QString(40000, QLatin1Char('a')) + "d"},  // no length limit
    };
    for (const Case& c : cases) {
        const QString result =
            run(Form18, {{"edInp", c.input}, {"edPatt", c.pattern}, {"edRepl", c.replacement}}, "bbExec", "edRes");
        EXPECT_EQ(result, c.result) << c.input.toStdString() << " / " << c.pattern.toStdString();
    }
}

TEST_F(StringTesters, SubstitutionTesterHasNoCloseButtonAndClosesFromItsFrame)
{
    Form18->Show();
    const auto buttons = Form18->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.front()->objectName(), QStringLiteral("bbExec"));
    EXPECT_FALSE(control<QLabel>(Form18, "lb1")->isVisible());
    EXPECT_TRUE(Form18->close());
    EXPECT_FALSE(Form18->isVisible());
}

// Both windows in use, as the pictures show them.
TEST_F(StringTesters, InUse)
{
    Form15->Show();
    EXPECT_EQ(run(Form15, {{"edFun", "findsub"}, {"eda1", "aXbaab"}, {"eda2", "aab"}}, "Button1", "edres"), "4");
    picture(Form15, "tarnix-string-tester");

    Form18->Show();
    EXPECT_EQ(run(Form18,
                  {{"edInp", QStringLiteral("если возраст = взрослый то статус = взрослый")},
                   {"edPatt", QStringLiteral("взрослый")}, {"edRepl", QStringLiteral("молодой")}},
                  "bbExec", "edRes"),
              QStringLiteral("если возраст = молодой то статус = молодой"));
    picture(Form18, "tarnix-substitution-tester");
    Form15->hide();
    Form18->hide();
}

}  // namespace
}  // namespace tarnix
