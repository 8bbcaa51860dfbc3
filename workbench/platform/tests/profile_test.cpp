#include "platform.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace tarnix::platform {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

TEST(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    EXPECT_EQ(profileRead(ini, "Files", "kbpath", "def"), "def");
    writeBytes(ini, "[Other]\r\nkbpath=x\r\n[Files]\r\ncurrKb=Kb2\r\n");
    EXPECT_EQ(profileRead(ini, "Files", "kbpath", "def"), "def");
    EXPECT_EQ(profileRead(ini, "Nope", "currKb", "def"), "def");
    EXPECT_EQ(profileRead(ini, "Files", "currKb", "def"), "Kb2");
}

TEST(ProfileRead, NamesCompareWithoutCaseAndValuesAreRaw) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    writeBytes(ini,
               "; settings\n"
               "  [ files ]  \n"
               "KBPATH =  c:\\zvod\\Tessel\\Ordo\\  \n"
               "quoted=\"two words \"\n"
               "empty=\n"
               "eq=a=b\n"
               "\xCA\xEB\xFE\xF7=\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5\n");  // Ключ=значение
    EXPECT_EQ(profileRead(dir / "ordo.INI", "Files", "kbpath", ""), "c:\\zvod\\Tessel\\Ordo\\");
    EXPECT_EQ(profileRead(ini, "FILES", "quoted", ""), "two words ");
    EXPECT_EQ(profileRead(ini, "Files", "empty", "def"), "");
    EXPECT_EQ(profileRead(ini, "Files", "eq", ""), "a=b");
    EXPECT_EQ(profileRead(ini, "Files", "\xEA\xCB\xDE\xD7", ""), "\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5");
    EXPECT_EQ(profileRead(ini, "Files", "; settings", "def"), "def");
}

TEST(ProfileWrite, ReplacesOneValueAndKeepsEveryOtherByte) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    const std::string before =
        "; comment\r\n[Files]\r\nkbpath = c:\\old\\\r\ncurrKb=Kb1\n\r\n[Other]\r\nkbpath=keep\r\n";
    writeBytes(ini, before);
    ASSERT_TRUE(profileWrite(ini, "files", "KBPATH", "/home/u/proj/"));
    EXPECT_EQ(readBytes(ini),
              "; comment\r\n[Files]\r\nkbpath = /home/u/proj/\r\ncurrKb=Kb1\n\r\n[Other]\r\nkbpath=keep\r\n");
    EXPECT_EQ(profileRead(ini, "Files", "kbpath", ""), "/home/u/proj/");
    EXPECT_EQ(profileRead(ini, "Other", "kbpath", ""), "keep");
}

TEST(ProfileWrite, AppendsAMissingKeyAtTheEndOfItsSection) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    writeBytes(ini, "[Files]\nkbpath=/p/\n\n[Other]\nx=1\n");
    ASSERT_TRUE(profileWrite(ini, "Files", "currentTask", "t7.tsk"));
    EXPECT_EQ(readBytes(ini), "[Files]\nkbpath=/p/\ncurrentTask=t7.tsk\r\n\n[Other]\nx=1\n");

    writeBytes(ini, "[Files]\nkbpath=/p/");  // last line without a line end
    ASSERT_TRUE(profileWrite(ini, "Files", "currKb", "Kb2"));
    EXPECT_EQ(readBytes(ini), "[Files]\nkbpath=/p/\r\ncurrKb=Kb2\r\n");
}

TEST(ProfileWrite, AppendsAMissingSectionAndCreatesTheFile) {
    TempFolder dir;
    const std::string ini = dir / "Ordo.ini";
    ASSERT_TRUE(profileWrite(ini, "Files", "currKb", "Kb1"));
    EXPECT_EQ(readBytes(ini), "[Files]\r\ncurrKb=Kb1\r\n");
    writeBytes(ini, "[Other]\r\na=1");
    ASSERT_TRUE(profileWrite(ini, "Files", "currKb", "Kb1"));
    EXPECT_EQ(readBytes(ini), "[Other]\r\na=1\r\n[Files]\r\ncurrKb=Kb1\r\n");
}

TEST(ProfileWrite, WritesThroughTheExistingSpellingAndKeepsPermissions) {
    TempFolder dir;
    writeBytes(dir / "ordo.ini", "[Files]\r\n");
    std::filesystem::permissions(dir / "ordo.ini", std::filesystem::perms(0640));
    ASSERT_TRUE(profileWrite(dir / "Ordo.ini", "Files", "currKb", "Kb3"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Ordo.ini") &&
                 !std::filesystem::equivalent(dir / "Ordo.ini", dir / "ordo.ini"));
    EXPECT_EQ(readBytes(dir / "ordo.ini"), "[Files]\r\ncurrKb=Kb3\r\n");
    EXPECT_EQ(std::filesystem::status(dir / "ordo.ini").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no stray temp file
}

TEST(ProfileWrite, FailsWithoutHarm) {
    TempFolder dir;
    EXPECT_FALSE(profileWrite(dir / "missing/Ordo.ini", "Files", "k", "v"));
    EXPECT_EQ(lastIoErrorText(true), "Invalid filename");
    std::filesystem::create_directory(dir / "Ordo.ini");
    EXPECT_FALSE(profileWrite(dir / "Ordo.ini", "Files", "k", "v"));

    // A line break in any part would smuggle in lines of its own.
    const std::string ini = dir / "a.ini";
    writeBytes(ini, "[Files]\r\nkbpath=/p/\r\n");
    EXPECT_FALSE(profileWrite(ini, "Files", "kbpath", "/x/\r\ncurrKb=evil"));
    EXPECT_FALSE(profileWrite(ini, "Files\n[x", "kbpath", "v"));
    EXPECT_FALSE(profileWrite(ini, "Files", "a=b", "v"));
    EXPECT_FALSE(profileWrite(ini, "Files", "", "v"));
    // Keys no reader would find again: a comment line, a section header.
    EXPECT_FALSE(profileWrite(ini, "Files", ";Kb2", "v"));
    EXPECT_FALSE(profileWrite(ini, "Files", "[x]", "v"));
    EXPECT_EQ(readBytes(ini), "[Files]\r\nkbpath=/p/\r\n");
}

TEST(ProfileWrite, BlanksOfAValueDoNotAddUpOverRewrites) {
    TempFolder dir;
    const std::string ini = dir / "a.ini";
    writeBytes(ini, "[Files]\r\nkbpath = /p/\r\n");
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(profileWrite(ini, "Files", "rusource", " "));
    ASSERT_TRUE(profileWrite(ini, "Files", "kbpath", " /q/"));
    ASSERT_TRUE(profileWrite(ini, "Files", "kbpath", " /q/"));
    EXPECT_EQ(readBytes(ini), "[Files]\r\nkbpath = /q/\r\nrusource=\r\n");
}

TEST(Profile, BinaryGarbageNeitherCrashesNorHangs) {
    TempFolder dir;
    const std::string ini = dir / "garbage.ini";
    std::mt19937 random(1251);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(1 + random() % 4000, '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 8 == 0 ? "[]=\r\n"[random() % 5] : random());
        writeBytes(ini, bytes);
        profileRead(ini, "Files", "kbpath", "d");
        ASSERT_TRUE(profileWrite(ini, "Files", "kbpath", "v"));
        EXPECT_EQ(profileRead(ini, "Files", "kbpath", "d"), "v") << round;
    }
}

}  // namespace
}  // namespace tarnix::platform
