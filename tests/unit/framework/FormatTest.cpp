#include "Format.h"

#include <gtest/gtest.h>

#include <string>

TEST(Format, BuildsStringsOfAnyLength) {
    EXPECT_EQ(Format("%d\t%s\t0x%08lX", 3, "two", 0xFFFF0000UL), "3\ttwo\t0xFFFF0000");
    EXPECT_EQ(Format("%s", ""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(Format("[%s]", longText.c_str()).size(), 5002u);
    EXPECT_EQ(Format(nullptr), "");
}
