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
    EXPECT_EQ(info.GetFlagValue("minimize"), "TRUE");
    EXPECT_EQ(info.m_strFileName, "");

    info = Parse("mixer.exe -minimize");
    EXPECT_TRUE(info.HasFlag("minimize"));

    // A flag followed by a plain item: the item is the flag's value and the file name.
    info = Parse("mixer.exe /minimize file.vqs");
    EXPECT_TRUE(info.HasFlag("minimize"));
    EXPECT_EQ(info.GetFlagValue("minimize"), "file.vqs");
    EXPECT_EQ(info.m_strFileName, "file.vqs");
}

TEST(ZephCommandLineInfo, FlagsMatchExactlyAndCaseSensitively) {
    auto info = Parse("mixer.exe /Minimize");
    EXPECT_FALSE(info.HasFlag("minimize"));
    EXPECT_TRUE(info.HasFlag("Minimize"));
    info = Parse("mixer.exe /minimized");
    EXPECT_FALSE(info.HasFlag("minimize"));
    info = Parse("mixer.exe minimize");
    EXPECT_FALSE(info.HasFlag("minimize"));
    EXPECT_EQ(info.m_strFileName, "minimize");
}

TEST(ZephCommandLineInfo, FirstPlainItemIsTheFileName) {
    auto info = Parse("mixer.exe a.vqs /minimize b.vqs c.vqs");
    EXPECT_EQ(info.m_strFileName, "a.vqs");
    EXPECT_EQ(info.GetFlagValue("minimize"), "b.vqs");
    EXPECT_TRUE(info.m_lastFlag.empty());

    // Two flags in a row: the first keeps "TRUE", the pending one takes the value.
    info = Parse("mixer.exe /a /b value");
    EXPECT_EQ(info.GetFlagValue("a"), "TRUE");
    EXPECT_EQ(info.GetFlagValue("b"), "value");
    EXPECT_EQ(info.m_strFileName, "value");
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
