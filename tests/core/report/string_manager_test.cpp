#include "core/report/string_manager.h"

#include <gtest/gtest.h>

using namespace tarvik;

TEST(StringManager, PosFromSearchesFromTheOffset) {
    struct Case {
        const char* sub;
        const char* s;
        int offset;
        int expected;
    };
    const Case cases[] = {
        {"ab", "xxabab", 4, 5}, {"ab", "xxabab", 1, 3},  {"ab", "xxabab", 6, 0}, // no match past the end
        {"ab", "xxabab", 0, 3}, {"ab", "xxabab", -7, 3},                         // offsets below 1 count as 1
        {"", "xxabab", 1, 0},   {"a", "xxabab", 7, 0},   {"b", "xxabab", 6, 6},  {"xxababx", "xxabab", 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringManager.PosFrom(c.sub, c.s, c.offset), c.expected)
            << c.sub << " in " << c.s << " @" << c.offset;
}

TEST(StringManager, TextBetweenDelimiters) {
    EXPECT_EQ(StringManager.TextBetween("{f\\", "}", "{f\\B|C255}Total", 1), "B|C255");
    EXPECT_EQ(StringManager.TextBetween("{f\\", "}", "{f\\B|C255", 1), "B|C255"); // no end: the rest
    EXPECT_EQ(StringManager.TextBetween("#", "", "#a#b", 1), "a");                // start serves as end
    EXPECT_EQ(StringManager.TextBetween("{f\\", "}", "Total", 1), "");            // no start: empty
    EXPECT_EQ(StringManager.TextBetween("[", "]", "[]x", 1), "");                 // touching delimiters
    EXPECT_EQ(StringManager.TextBetween("[", "]", "[a] [b]", 2), "b");
}

TEST(StringManager, CopyRangeCutsAtTheEnds) {
    EXPECT_EQ(StringManager.CopyRange("abcdef", 2, 4), "bcd");
    EXPECT_EQ(StringManager.CopyRange("abcdef", 5, 99), "ef");
    EXPECT_EQ(StringManager.CopyRange("abcdef", 4, 3), "");
    EXPECT_EQ(StringManager.CopyRange("abcdef", 7, 9), "");
    EXPECT_EQ(StringManager.CopyRange("abcdef", -2, 2), "ab");
}

TEST(StringManager, CutTokenTakesOneTokenAtATime) {
    std::string s = "B|S";
    EXPECT_EQ(StringManager.CutToken("|", s, true), "B");
    EXPECT_EQ(s, "S");
    EXPECT_EQ(StringManager.CutToken("|", s, true), "S");
    EXPECT_EQ(s, "");

    s = "|B";
    EXPECT_EQ(StringManager.CutToken("|", s, true), "B");
    EXPECT_EQ(s, "");
    s = "|B";
    EXPECT_EQ(StringManager.CutToken("|", s, false), "");
    EXPECT_EQ(s, "B");

    s = "||B"; // only one leading delimiter is skipped
    EXPECT_EQ(StringManager.CutToken("|", s, true), "");
    EXPECT_EQ(s, "B");

    s = "one::two";
    EXPECT_EQ(StringManager.CutToken("::", s, false), "one");
    EXPECT_EQ(s, "two");
}
