#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "Unit4.h"
#include "platform/platform.h"
#include "platform/platform_internal.h"
#include "tests/workspace.h"

namespace tarnix {
namespace {

TEST(TextFile, LinesEndAtLfWithAnOptionalCr)
{
    EXPECT_EQ(splitLines(""), Lines{});
    EXPECT_EQ(splitLines("\n"), Lines{""});
    EXPECT_EQ(splitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\r\n\rb\r"), (Lines{"a\r", "\rb\r"}));
    EXPECT_EQ(splitLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(splitLines("1\n2\n3\n4\n5\n", 4), (Lines{"1", "2", "3", "4"}));
    EXPECT_EQ(joinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinLines({}), "");
}

TEST(TextFile, ReadingStopsAtTheLinesAsked)
{
    test::Workspace ws;
    ws.write(ws.work + "f.txt", "one\r\ntwo\nthree");
    EXPECT_EQ(readLines(ws.work + "f.txt"), (Lines{"one", "two", "three"}));
    EXPECT_EQ(readLines(ws.work + "f.txt", 2), (Lines{"one", "two"}));
    EXPECT_EQ(readLines(ws.work + "F.TXT", 1), Lines{"one"});  // names compare without case
    // Lines and their CR LF across the reader's 64 KiB blocks read as the splitter reads them.
    for (const std::size_t first : {65534u, 65535u, 65536u, 200000u}) {
        const std::string bytes = std::string(first, 'a') + "\r\n" + std::string(70000, 'b') + "\r\n\r\nc\r";
        ws.write(ws.work + "big.txt", bytes);
        EXPECT_EQ(readLines(ws.work + "big.txt"), splitLines(bytes)) << first;
        EXPECT_EQ(readLines(ws.work + "big.txt", 2), splitLines(bytes, 2)) << first;
    }
    // A line longer than asked keeps its first bytes; a CR is dropped only right before LF.
    ws.write(ws.work + "long.txt", "abcdef\r\nabcd\r\nabc\r\nabc\rxy\r\n\r\nlastline");
    EXPECT_EQ(readLines(ws.work + "long.txt", 10, 4), (Lines{"abcd", "abcd", "abc", "abc\r", "", "last"}));
    try {
        readLines(ws.work + "none.txt");
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    try {
        loadFileBytes(ws.work + "none.txt");
        FAIL();
    } catch (const FileOpenError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + ws.work + "none.txt\". ", 0), 0u) << e.what();
    }
}

TEST(TextFile, AtomicSaveReplacesWholeOrNotAtAll)
{
    test::Workspace ws;
    const std::string doc = ws.work + "doc.txt";
    ws.write(doc, "old");
    saveFileAtomically(doc, "new\r\n");
    EXPECT_EQ(ws.read(doc), "new\r\n");
    saveFileAtomically(ws.work + "fresh.txt", "");
    EXPECT_TRUE(ws.exists(ws.work + "fresh.txt"));

    // A folder that takes no new file: a file in it that may be written is rewritten in place.
    if (!ws.makeReadOnly(ws.work))
        GTEST_SKIP() << "cannot make a folder read-only here";
    EXPECT_THROW(saveFileAtomically(ws.work + "another.txt", "x"), FileCreateError);
    saveFileAtomically(doc, "in place, and longer\r\n");
    EXPECT_EQ(ws.read(doc), "in place, and longer\r\n");
    writeLines(doc, {"short"});
    EXPECT_EQ(ws.read(doc), "short\r\n");
    try {
        writeLines(ws.work + "another.txt", {});
        FAIL();
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "File access denied");
    }
}

#ifndef _WIN32  // the Windows writer never rewrites in place
// A rewrite in place that fails and cannot put the old bytes back either says so, and where
// they are kept.
TEST(TextFile, ADamagedFileIsReportedWithItsKeptCopy)
{
    test::Workspace ws;
    const std::string doc = ws.work + "doc.txt";
    ws.write(doc, "old bytes");
    std::filesystem::create_hard_link(doc, ws.work + "twin.txt");  // a second link: rewritten in place
    static int writes = 0;  // the new tail is written, then overwriting the old bytes fails
    platform::detail::writeFault = [](platform::detail::WriteStep step) {
        using platform::detail::WriteStep;
        return (step == WriteStep::Write && ++writes == 2) || step == WriteStep::Restore ? EIO : 0;
    };
    std::string said;
    try {
        saveFileAtomically(doc, "new bytes, longer than the old");
    } catch (const FileCreateError& e) {
        said = e.what();
    }
    platform::detail::writeFault = nullptr;
    const std::string copy = platform::damagedFileCopy();
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(copy, doc + ".old");
    EXPECT_EQ(said.rfind("Cannot create file \"" + doc + "\". ", 0), 0u) << said;
    EXPECT_TRUE(said.ends_with(". The file is damaged; its old content is kept in " + copy)) << said;
    EXPECT_EQ(ws.read(copy), "old bytes");
    saveFileAtomically(doc, "whole");  // the next write succeeds and reports nothing damaged
    EXPECT_TRUE(platform::damagedFileCopy().empty());
}
#endif

TEST(TextFile, AtomicSaveRefusesAReadOnlyFile)
{
    test::Workspace ws;
    const std::string doc = ws.work + "ro.txt";
    ws.write(doc, "keep");
    if (!ws.makeReadOnly(doc))
        GTEST_SKIP() << "cannot make a file read-only here";
    EXPECT_THROW(saveFileAtomically(doc, "x"), FileCreateError);
    EXPECT_EQ(ws.read(doc), "keep");
}

TEST(TextFile, PathParts)
{
    EXPECT_EQ(fileNamePart("/a/b/c.rul"), "c.rul");
    EXPECT_EQ(fileNamePart("c.rul"), "c.rul");
    EXPECT_EQ(fileNamePart("/a/"), "");
    EXPECT_EQ(folderPart("/a/b/c.rul"), "/a/b/");
    EXPECT_EQ(folderPart("c.rul"), "");
    const std::string separator(1, platform::separator());
    EXPECT_EQ(withTrailingSeparator("/p"), "/p" + separator);
    EXPECT_EQ(withTrailingSeparator("/p/"), "/p/");
    EXPECT_EQ(withTrailingSeparator(""), "");
}

}  // namespace
}  // namespace tarnix
