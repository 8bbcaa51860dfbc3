// A 200,000-line, 10 MB file in the main window's rule pane (colouring, line numbers, brackets): loading it
// (read, split, decode, show) against Qt's own setPlainText of the already-decoded text into a
// bare text area; saving it (text out, encode, atomic write) against toPlainText() and one write
// of its bytes; and typing into it against typing into a bare 3-line text area.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <filesystem>
#include <fstream>

#include "bench_util.h"
#include "code_pane.h"
#include "platform/platform.h"
#include "text_area.h"

using namespace tarnix;

namespace {

std::string makeFile()
{
    std::string bytes;
    const std::string word = platform::utf8ToCp1251("правило ");
    for (int i = 0; i < 200000; ++i) {
        std::string line = "ru" + std::to_string(i) + " ";
        while (line.size() < 48)
            line += word;
        bytes += line + "\r\n";
    }
    return bytes;
}

double typingMs(QPlainTextEdit& area)
{
    QTextCursor cursor(area.document());
    cursor.setPosition(static_cast<int>(area.document()->characterCount() / 2));
    area.setTextCursor(cursor);
    return bench::medianMs(101, [&] {
        area.textCursor().insertText(QStringLiteral("x"));
        QApplication::processEvents();
    });
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string folder = bench::scratchFolder();
    const std::string path = folder + "big.txt";
    const std::string bytes = makeFile();
    std::ofstream(path, std::ios::binary) << bytes;
    std::printf("bench: file of %zu bytes, %d lines\n", bytes.size(), 200000);

    CodePane area;
    QPlainTextEdit bare;
    for (QPlainTextEdit* shown : {static_cast<QPlainTextEdit*>(&area), &bare}) {
        shown->setLineWrapMode(QPlainTextEdit::NoWrap);
        shown->resize(900, 600);
        shown->show();
    }
    area.setRuleText();
    const QString decoded = decodeLines(bytes);

    bool ok = true;
    double plain = 0, load = 0;
    for (int round = 0; round < 3; ++round) {  // interleaved, so drift hits both alike
        plain += bench::medianMs(3, [&] {
            bare.setPlainText(decoded);
            QApplication::processEvents();
        });
        load += bench::medianMs(3, [&] {
            LoadTextArea(&area, path);
            QApplication::processEvents();
        });
    }
    bare.clear();
    ok &= bench::report("load into a text pane", load, "setPlainText of decoded text", plain, 1.25);

    const std::string copy = folder + "copy.txt";
    const double qtSave = bench::medianMs(5, [&] {
        const QByteArray out = area.toPlainText().toUtf8();
        std::ofstream(copy, std::ios::binary).write(out.constData(), out.size());
    });
    const double save = bench::medianMs(5, [&] { SaveTextArea(&area, path); });
    ok &= bench::report("save from a text area", save, "toPlainText and one write", qtSave, 1.25);

    QPlainTextEdit small;
    small.setLineWrapMode(QPlainTextEdit::NoWrap);
    small.resize(900, 600);
    small.show();
    small.setPlainText(QStringLiteral("a\nb\nc"));
    const double typeSmall = typingMs(small);
    const double typeBig = typingMs(area);
    ok &= bench::report("a keystroke in the 10 MB text pane", typeBig, "a keystroke in a 3-line text", typeSmall, 4.0);

    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
