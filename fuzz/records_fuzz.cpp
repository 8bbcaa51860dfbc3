// The database's record files: reading n lines (0 to 10) gives the file's first n lines, the
// missing ones empty; writing them back and reading again gives the same; a record's
// description is the ".dsc" of its own stem in its own folder.
// Input: record file name NUL file bytes.
#include "errors.h"
#include "fuzz_support.h"
#include "records.h"
#include "text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnix;
    using namespace tarnix::fuzz;
    static ScratchFolder scratch;
    const auto f = fields(data, size, 2);
    const std::string &name = f[0], &bytes = f[1];
    const auto what = [&] { return "name: " + shown(name) + "\nrecord: " + shown(bytes.substr(0, 400)); };
    const std::string folder = scratch.fresh();
    writeFile(folder + "r.dbm", bytes);

    const Lines lines = splitLines(bytes);
    for (int n = 0; n <= 10; ++n) {
        TextBlock block{"stale"};
        ReadLines(folder + "r.dbm", block, n);
        for (int i = 0; i < 10; ++i) {
            const std::string want = i < n && static_cast<std::size_t>(i) < lines.size() ? lines[i] : std::string();
            FUZZ_CHECK(block[i] == want, "n " + std::to_string(n) + ", line " + std::to_string(i) + "\n" + what());
        }
        WriteLines(folder + "copy.dbm", block, n);
        TextBlock again;
        ReadLines(folder + "copy.dbm", again, n);
        FUZZ_CHECK(again == block, "n " + std::to_string(n) + " does not read back\n" + what());
    }

    if (name.find_first_of(std::string("/\0", 2)) == std::string::npos) {
        const std::string description = RecordDescriptionPath(folder + name);
        FUZZ_CHECK(folderPart(description) == folder && description.ends_with(".dsc") &&
                       fileNamePart(description) == StripExt(name) + ".dsc",
                   what());
    }
    return 0;
}
