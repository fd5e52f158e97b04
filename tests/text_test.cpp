// Text operations over code-page-936 bytes. 丂 is 81 40 ("@" as second byte), 乕 81 5B ("["),
// 乗 81 5C ("\"), 乚 81 5D ("]") and 丄 81 41 ("A"): a byte-wise routine finds or cuts inside them.
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using runtime::Find;
using runtime::Split;

TEST(TextSplit, KeepsInnerEmptyPiecesDropsTrailingOneAndNeverCutsACharacter) {
    using Pieces = std::vector<std::string>;
    const struct {
        const char* text;
        const char* sep;
        Pieces want;
    } cases[] = {
        {"", "&@&", {}},
        {"a", "&@&", {"a"}},
        {"a&@&b", "&@&", {"a", "b"}},
        {"a&@&", "&@&", {"a"}},               // the empty rest after the last separator is no piece
        {"&@&a", "&@&", {"", "a"}},           // an empty first piece counts
        {"a&@&&@&b", "&@&", {"a", "", "b"}},  // so does one between two separators
        {"a&@&b&@&&@&", "&@&", {"a", "b", ""}},
        {"D:\\", "\\", {"D:"}},
        {"D:\\乗\\x", "\\", {"D:", "乗", "x"}},  // 81 5C is one character, not a "\"
        {"乗", "\\", {"乗"}},
        {"x丂&@[乕]", "@&@", {"x丂&@[乕]"}},  // "丂&@" has 40 26 40 only across a character edge
        {"丂&@&y", "@&@", {"丂&@&y"}},
        {"a@&@[b]", "@&@", {"a", "[b]"}},
        {"abc", "", {"abc"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Split(c.text, c.sep), c.want) << c.text << " / " << c.sep;
}

TEST(TextSplit, SpansPointAtThePieces) {
    const auto spans = runtime::SplitSpans("ab&@&c", "&@&");
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].begin, 0u);
    EXPECT_EQ(spans[0].end, 2u);
    EXPECT_EQ(spans[1].begin, 5u);
    EXPECT_EQ(spans[1].end, 6u);
    EXPECT_EQ(runtime::Join({"a", "", "b"}, "&@&"), "a&@&&@&b");
}

TEST(TextFind, MatchesOnlyAtCharacterBoundaries) {
    const struct {
        const char* text;
        const char* what;
        int start;
        bool caseSensitive;
        int want;
    } cases[] = {
        {"abcabc", "bc", 1, true, 2},
        {"abcabc", "bc", 3, true, 5},
        {"abcabc", "bc", 0, true, 2},  // a start below 1 counts as 1
        {"abcabc", "bc", 7, true, -1},
        {"abc", "", 1, true, -1},
        {"abc", "ABC", 1, true, -1},
        {"abc", "ABC", 1, false, 1},
        {"丂@", "@", 1, true, 3},  // not the 40 inside 丂
        {"乕[", "[", 1, true, 3},
        {"乚]", "]", 1, true, 3},
        {"x乗\\", "\\", 1, true, 4},
        {"丂&@x@&@", "@&@", 1, true, 6},  // 40 26 40 straddling 丂 is no match
        {"丂丂", "丂", 2, true, 3},       // a start on a second byte moves to the next character
        {"丄", "A", 1, false, -1},        // a second byte never matches a letter, in either case
        {"a丄", "A丄", 1, false, 1},
        {"\x81", "\x81", 1, true, 1},  // a lone lead byte at the end is one character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Find(c.text, c.what, c.start, c.caseSensitive), c.want) << c.text << " / " << c.what;
    }
    EXPECT_EQ(runtime::FindLast("a\\乗\\b", "\\"), 5);  // not the 5C at byte 4
    EXPECT_EQ(runtime::FindLast("乗", "\\"), -1);
}

TEST(TextReplace, FromAStartUpToACount) {
    const struct {
        const char* text;
        const char* what;
        const char* with;
        int start, count;
        bool caseSensitive;
        const char* want;
    } cases[] = {
        {"aXa", "a", "bb", 1, -1, true, "bbXbb"},
        {"aXa", "a", "bb", 2, -1, true, "aXbb"},
        {"aXa", "a", "bb", 1, 1, true, "bbXa"},
        {"aXa", "a", "bb", 1, 0, true, "aXa"},
        {"[DEMO.EXE][demo.exe]", "[demo.exe]", "[n]", 1, 1, false, "[n][demo.exe]"},
        {"[DEMO.EXE][demo.exe]", "[demo.exe]", "[n]", 1, 1, true, "[DEMO.EXE][n]"},
        {"aa", "a", "a", 1, -1, true, "aa"},  // replaced text is not searched again
        {"丂@&@", "@&@", "|", 1, -1, true, "丂|"},
        {"乚]", "]", ")", 1, -1, true, "乚)"},
        {"abc", "", "x", 1, -1, true, "abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::Replace(c.text, c.what, c.with, c.start, c.count, c.caseSensitive), c.want)
            << c.text;
    }
}

TEST(TextBytes, LeftRightLengthLowerKeepDoubleByteCharactersWhole) {
    EXPECT_EQ(runtime::Left("ab乗c", 3), "ab");  // 3 bytes would cut 乗
    EXPECT_EQ(runtime::Left("ab乗c", 4), "ab乗");
    EXPECT_EQ(runtime::Left("abc", 9), "abc");
    EXPECT_EQ(runtime::Left("abc", -1), "");
    EXPECT_EQ(runtime::Right("a乗c", 2), "c");  // the second byte of 乗 alone is no character
    EXPECT_EQ(runtime::Right("a乗c", 3), "乗c");
    EXPECT_EQ(runtime::Right("abc", 9), "abc");
    EXPECT_EQ(runtime::Length("常用工具"), 8);
    EXPECT_EQ(runtime::ToLower("AbC丄Z"), "abc丄z");  // 丄's second byte "A" stays
}
