// The output view on large files:
// - a 100 MB, 1,000,000-line trace brought to the front, against reading the file and counting
//   its lines with memchr (and under half a second), and the memory it takes, against the file's
//   size;
// - a 10 MB, 100,000-line file, against Qt's setPlainText of the decoded text into a text area;
// - paging to the end of a 10 MB single line, unwrapped and wrapped, against a page of the
//   10 MB many-line file (and under 100 ms a page);
// - finding a text absent from the 100 MB file, against memmem over its bytes.
#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <cstring>
#include <fstream>

#include "bench_util.h"
#include "output_view.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "text_area.h"

using namespace tarnix;

namespace {

// Lines such as an engine's trace has, about 100 bytes each.
std::string traceLine(int i)
{
    static const std::string words = platform::utf8ToCp1251(" сработало: жанр = комедия, формат = кинотеатр");
    std::string line = "cycle " + std::to_string(i % 97) + " rule(" + std::to_string(i % 1000) + ")" + words;
    line.resize(98, ' ');
    return line + "\r\n";
}

void writeTrace(const std::string& path, int lines)
{
    std::ofstream out(path, std::ios::binary);
    std::string block;
    for (int i = 0; i < lines; ++i) {
        block += traceLine(i);
        if (block.size() > (1 << 20)) {
            out << block;
            block.clear();
        }
    }
    out << block;
}

// The file in one read into `bytes`, room of its size already in use: as fast as reading gets.
void readBytes(const std::string& path, std::string& bytes)
{
    bytes.resize(std::filesystem::file_size(path));
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        std::abort();
    std::fclose(f);
}

std::string readBytes(const std::string& path)
{
    std::string bytes;
    readBytes(path, bytes);
    return bytes;
}

// Kilobytes of /proc/self/status's field `name` ("VmRSS", "VmHWM").
long statusKb(const char* name)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key) {
        if (key == std::string(name) + ":") {
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

void show(OutputView& view)
{
    view.viewport()->repaint();
    QApplication::processEvents();
}

// One page further along until the end, in the scroll bar's direction; the median time a page.
double pageMs(OutputView& view, QScrollBar* bar, int pages)
{
    bar->setValue(0);
    const int step = std::max(1, (bar->maximum() - bar->minimum()) / pages);
    return bench::medianMs(pages, [&] {
        bar->setValue(std::min(bar->maximum(), bar->value() + step));
        view.viewport()->repaint();
    });
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string folder = bench::scratchFolder();
    const std::string trace = folder + "prestrac.ari";
    writeTrace(trace, 1000000);
    const auto traceSize = static_cast<double>(std::filesystem::file_size(trace));
    std::printf("bench: trace of %.0f bytes, 1000000 lines\n", traceSize);
    bool ok = true;

    // Memory first, while the process holds nothing else large.
    {
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        const long before = statusKb("VmRSS");
        OutputView view;
        view.resize(900, 600);
        view.show();
        view.loadFile(trace);
        show(view);
        const double peak = static_cast<double>(statusKb("VmHWM") - before) * 1024;
        const double ratio = peak / traceSize;
        std::printf("bench: peak memory showing the 100 MB trace: %.3fx the file's size (%.1f MB vs %.1f MB, limit 1.50x) %s\n",
                    ratio, peak / 1e6, traceSize / 1e6, ratio <= 1.5 ? "ok" : "TOO MUCH");
        ok &= ratio <= 1.5;
    }

    OutputView view;
    view.resize(900, 600);
    view.show();
    double physical = 0, front = 0;
    std::string bytes = readBytes(trace);
    for (int round = 0; round < 3; ++round) {
        physical += bench::medianMs(3, [&] {
            readBytes(trace, bytes);
            std::size_t lines = 0;
            for (const char* p = bytes.data(); (p = static_cast<const char*>(std::memchr(p, '\n', bytes.data() + bytes.size() - p))); ++p)
                ++lines;
            if (lines != 1000000)
                std::abort();
        });
        front += bench::medianMs(3, [&] {
            view.loadFile(trace);
            show(view);
        });
    }
    ok &= bench::report("the 100 MB trace brought to the front", front, "reading it and counting lines", physical, 25);
    ok &= bench::report("the 100 MB trace brought to the front", front / 3, "half a second", 500, 1.0);
    bytes = std::string();

    std::string needleBytes = platform::utf8ToCp1251("нет такого правила");
    const double memmemMs = bench::medianMs(5, [&] {
        if (memmem(view.text().bytes().data(), view.text().size(), needleBytes.data(), needleBytes.size()))
            std::abort();
    });
    const QString needle = toQt(needleBytes);
    const double findMs = bench::medianMs(5, [&] {
        QEventLoop wait;
        QObject::connect(&view, &OutputView::searchDone, &wait, [&](bool found) { wait.exit(found ? 1 : 0); });
        if (view.find(needle, false, false) != OutputView::Search::Running || wait.exec() != 0)
            std::abort();  // the text is not there, and a file this large is searched in the background
    });
    ok &= bench::report("find of an absent text in 100 MB, case-blind", findMs, "memmem over the bytes", memmemMs, 3);

    // 10 MB in 100,000 lines: loading, and paging through it.
    const std::string tenMb = folder + "ten.txt";
    writeTrace(tenMb, 100000);
    const QString decoded = decodeLines(readBytes(tenMb));
    QPlainTextEdit bare;
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.resize(900, 600);
    bare.show();
    const double qt = bench::medianMs(3, [&] {
        bare.setPlainText(decoded);
        QApplication::processEvents();
    });
    bare.clear();
    const double load = bench::medianMs(5, [&] {
        view.loadFile(tenMb);
        show(view);
    });
    ok &= bench::report("a 10 MB file shown", load, "setPlainText of its decoded text", qt, 0.15);
    const double manyLinesPage = pageMs(view, view.verticalScrollBar(), 50);

    const std::string line = folder + "line.txt";
    std::ofstream(line, std::ios::binary) << std::string(10 << 20, 'w') + "\r\n";
    view.loadFile(line);
    const double sideways = pageMs(view, view.horizontalScrollBar(), 50);
    view.setWrapped(true);
    const double down = pageMs(view, view.verticalScrollBar(), 50);
    for (const auto& [what, ms] : {std::pair{"a page along a 10 MB line", sideways}, {"a page down a wrapped 10 MB line", down}}) {
        ok &= bench::report(what, ms, "a page of the 10 MB many-line file", manyLinesPage, 4);
        ok &= bench::report(what, ms, "100 ms", 100, 1.0);
    }

    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
