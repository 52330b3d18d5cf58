#include "ZephCommandLineInfo.h"

#include <gtest/gtest.h>

namespace {

CZephCommandLineInfo Parse(const std::string& line) {
    CZephCommandLineInfo info;
    info.ParseCommandLine(line);
    return info;
}

TEST(ZephCommandLineInfo, FlagsWithSlashOrDashAndTheirValues) {
    auto info = Parse("\"C:\\Program Files\\Quenda Mixer.exe\" /minimize");
    EXPECT_TRUE(info.HasFlag("minimize"));
    EXPECT_EQ(info.GetFlagValue("minimize"), L"TRUE");
    EXPECT_EQ(info.m_fileName, L"");

    info = Parse("mixer.exe -minimize");
    EXPECT_TRUE(info.HasFlag("minimize"));

    // A flag followed by a plain item: the item is the flag's value and the file name.
    info = Parse("mixer.exe /minimize file.vqs");
    EXPECT_TRUE(info.HasFlag("minimize"));
    EXPECT_EQ(info.GetFlagValue("minimize"), L"file.vqs");
    EXPECT_EQ(info.m_fileName, L"file.vqs");
}

TEST(ZephCommandLineInfo, FlagsMatchExactlyAndCaseSensitively) {
    auto info = Parse("mixer.exe /Minimize");
    EXPECT_FALSE(info.HasFlag("minimize"));
    EXPECT_TRUE(info.HasFlag("Minimize"));
    info = Parse("mixer.exe /minimized");
    EXPECT_FALSE(info.HasFlag("minimize"));
    info = Parse("mixer.exe minimize");
    EXPECT_FALSE(info.HasFlag("minimize"));
    EXPECT_EQ(info.m_fileName, L"minimize");
}

TEST(ZephCommandLineInfo, FirstPlainItemIsTheFileName) {
    auto info = Parse("mixer.exe a.vqs /minimize b.vqs c.vqs");
    EXPECT_EQ(info.m_fileName, L"a.vqs");
    EXPECT_EQ(info.GetFlagValue("minimize"), L"b.vqs");
    EXPECT_TRUE(info.m_lastFlag.empty());

    // Two flags in a row: the first keeps "TRUE", the pending one takes the value.
    info = Parse("mixer.exe /a /b value");
    EXPECT_EQ(info.GetFlagValue("a"), L"TRUE");
    EXPECT_EQ(info.GetFlagValue("b"), L"value");
    EXPECT_EQ(info.m_fileName, L"value");
}

// The commands for scripts: their flags in any case, their file theirs alone (never also the
// start's preset), "minimize" still as spelt beside them.
TEST(ZephCommandLineInfo, CommandsForScripts) {
    using Command = CZephCommandLineInfo::Command;
    auto info = Parse("mixer.exe /SAVE \"C:\\backup.vqs\" /Minimize");
    EXPECT_EQ(info.GetCommand(), Command::Save);
    EXPECT_EQ(info.GetCommandFile(), L"C:\\backup.vqs");
    EXPECT_EQ(info.m_fileName, L"");
    EXPECT_FALSE(info.HasFlag("minimize"));

    info = Parse("mixer.exe -Load a.vqs b.vqs");
    EXPECT_EQ(info.GetCommand(), Command::Load);
    EXPECT_EQ(info.GetCommandFile(), L"a.vqs");
    EXPECT_EQ(info.m_fileName, L"b.vqs");

    EXPECT_EQ(Parse("mixer.exe /save").GetCommandFile(), L"");
    EXPECT_EQ(Parse("mixer.exe /save a /load b").GetCommand(), Command::Conflict);
    EXPECT_EQ(Parse("mixer.exe /?").GetCommand(), Command::Help);
    EXPECT_EQ(Parse("mixer.exe -HELP").GetCommand(), Command::Help);
    EXPECT_EQ(Parse("mixer.exe /minimize save").GetCommand(), Command::Panel);
}

// A wide command line keeps names that the ANSI code page cannot spell.
TEST(ZephCommandLineInfo, WideNamesArriveIntact) {
    CZephCommandLineInfo info;
    info.ParseCommandLine(std::wstring(L"\"Quenda Mixer.exe\" \"Klang \u4e2d\u6587 \u266b.vqs\""));
    EXPECT_EQ(info.m_fileName, L"Klang \u4e2d\u6587 \u266b.vqs");
    EXPECT_EQ(CCommandLineInfo::ArgumentsOf(L"\"C:\\Quenda Mixer.exe\"  /load \"a b\""),
              L"/load \"a b\"");
    EXPECT_EQ(CCommandLineInfo::ArgumentsOf(L"mixer.exe"), L"");
}

TEST(CommandLineInfo, SplitsLikeTheRuntime) {
    using V = std::vector<std::string>;
    EXPECT_EQ(CCommandLineInfo::SplitCommandLine("prog.exe"), V({"prog.exe"}));
    EXPECT_EQ(CCommandLineInfo::SplitCommandLine("\"My Prog.exe\"  a\t\"b c\""),
              V({"My Prog.exe", "a", "b c"}));
    EXPECT_EQ(CCommandLineInfo::SplitCommandLine("p \"C:\\My Presets\\x.vqs\""),
              V({"p", "C:\\My Presets\\x.vqs"}));
    EXPECT_EQ(CCommandLineInfo::SplitCommandLine("p a\\\\\"b c\" d\\\"e"),
              V({"p", "a\\b c", "d\"e"}));
    EXPECT_EQ(CCommandLineInfo::SplitCommandLine("p \"\""), V({"p", ""}));
    EXPECT_EQ(CCommandLineInfo::SplitCommandLine(""), V());
}

} // namespace
