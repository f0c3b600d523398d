#include "framework/Text.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

TEST(Text, LenCountsCharactersNotBytes)
{
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(Len("abc"), 3);
    EXPECT_EQ(Len("Il percorso per la cartella di DropBox \xC3\xA8 "), 41);
    EXPECT_EQ(Len("\xF0\x9F\x93\x81"), 1); // one folder emoji, four bytes
}

TEST(Text, SplitGivesEveryPieceBetweenTheDelimiters)
{
    struct Row {
        String source;
        std::vector<String> pieces;
    };
    const Row rows[] = {
        {"bash: /home/u/Dropbox/: Is a directory\n", {"bash", " /home/u/Dropbox/", " Is a directory\n"}},
        {"no colon here", {"no colon here"}},
        {":", {"", ""}},
        {"a::b", {"a", "", "b"}},
        {"", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Split(row.source, ":"), row.pieces) << row.source;
    EXPECT_THROW(Split("a", ""), UnsupportedFormatException);
}

TEST(Text, TrimRemovesOnlyLeadingAndTrailingWhiteSpace)
{
    EXPECT_EQ(Trim(" /home/u/My Dropbox \n"), "/home/u/My Dropbox");
    EXPECT_EQ(Trim("\t\r\n "), "");
    EXPECT_EQ(Trim("x"), "x");
}

TEST(Text, StrWritesPlainDecimalAndRefusesFormats)
{
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(1234567), "1234567");
    EXPECT_EQ(Str(-5, ""), "-5");
    EXPECT_THROW(Str(1, "#.00"), UnsupportedFormatException);
}

TEST(Text, ReplaceAllReplacesEveryOccurrenceFromLeftToRight)
{
    EXPECT_EQ(ReplaceAll("/a\\ b/c\\'d", "\\", ""), "/a b/c'd");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("it's", "'", "'\\''"), "it'\\''s");
    EXPECT_EQ(ReplaceAll("same", "", "x"), "same");
}

TEST(Text, EndOfLineIsTheLinuxLineEnd)
{
    EXPECT_EQ(EndOfLine(), "\n");
}

} // namespace
} // namespace Quorvane
