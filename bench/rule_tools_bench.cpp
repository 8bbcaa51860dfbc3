// The rule tools with large inputs: showing the page of a 999-rule set (read, parse, fill the
// grid) against reading the same lines with the shared line reader and filling the same grid
// from memory; a 5000-line trace list read into the rule execution window's list against
// adding the same decoded entries to the list in one call. Processor time, as the machine may
// be shared.
#include <QApplication>
#include <QListWidget>
#include <filesystem>

#include "Unit3.h"
#include "Unit4.h"
#include "Unit6.h"
#include "bench_util.h"
#include "platform/platform.h"
#include "qt_text.h"
#include "string_grid.h"
#include "tool_windows.h"

using namespace tarnix;

namespace {

std::string ruleSetFile(int rules)
{
    std::string bytes;
    const std::string words = platform::utf8ToCp1251("если возраст взрослый и рост высокий то ");
    for (int n = 1; n <= rules; ++n) {
        const std::string number = std::to_string(n);
        bytes += "ru\r\n" + number + "\r\n" + words + number + "\r\nf\r\n1.0\r\n[" + words + "]\r\n[" + words +
                 number + "]\r\n";
    }
    return bytes;
}

std::string traceListFile(int entries)
{
    std::string bytes;
    const std::string text = platform::utf8ToCp1251(" правило о возрасте и росте [цикл 3]");
    for (int n = 1; n <= entries; ++n)
        bytes += std::to_string(n) + text + "\r\n";
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string folder = bench::scratchFolder();
    context.WorkDir = folder;
    writeBytes(folder + "unlr1.ari", ruleSetFile(999));
    writeBytes(folder + "list.txt", traceListFile(5000));
    CreateToolWindows();
    Form3->resize(1024, 689);
    Form3->show();
    bool ok = true;

    // The baseline fills the same grid from a set parsed beforehand.
    ReadRuleSet(1, RuleSetPath(1));
    const rules parsed = context.RuleSets[1];
    StringGrid* grid = Form3->StringGrids[0];
    // Both start from an empty grid: a cell given the text it has already costs nothing.
    double page = 0, baseline = 0;
    for (int round = 0; round < 3; ++round) {  // interleaved, so drift hits both alike
        baseline += bench::medianCpuMs(5, [&] {
            grid->ClearRows(1);
            const Lines lines = readLines(RuleSetPath(1));
            ShowRuleSetInGrid(grid, parsed);
            QApplication::processEvents();
        });
        page += bench::medianCpuMs(5, [&] {
            grid->ClearRows(1);
            Form3->PageShow(0);
            QApplication::processEvents();
        });
    }
    ok &= bench::report("page of a 999-rule set", page, "line reader and grid fill from memory", baseline, 1.5);

    Form6->resize(1024, 682);
    Form6->show();
    QStringList decoded;
    for (const std::string& line : splitLines(traceListFile(5000)))
        decoded.push_back(toQt(line));
    // Both end with the list laid out and drawn, as the user sees it.
    const auto shown = [] {
        QApplication::processEvents();
        Form6->ListBox1->viewport()->repaint();
    };
    double list = 0, addItems = 0;
    for (int round = 0; round < 5; ++round) {
        addItems += bench::medianCpuMs(7, [&] {
            Form6->ListBox1->clear();
            Form6->ListBox1->addItems(decoded);
            shown();
        });
        list += bench::medianCpuMs(7, [&] {
            Lines lines;
            ReadWorkLines(files::TraceListFile, lines);
            Form6->ShowTraceList(lines);
            shown();
        });
    }
    ok &= bench::report("5000-line trace list into the list", list, "addItems of decoded entries", addItems, 1.5);

    DestroyToolWindows();
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
