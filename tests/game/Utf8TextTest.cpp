#include <string>

#include <gtest/gtest.h>

#include "game/Utf8Text.h"

namespace {
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
} // namespace

TEST(Utf8PopBack, RemovesOneWholeCharacterOfAnyLength) {
    std::string strName = "a\u00fc\u20ac\U0001F600"; // a, ü (2 bytes), € (3), an emoji (4)
    Utf8PopBack(strName);
    EXPECT_EQ(strName, "a\u00fc\u20ac");
    Utf8PopBack(strName);
    EXPECT_EQ(strName, "a\u00fc");
    Utf8PopBack(strName);
    EXPECT_EQ(strName, "a");
    Utf8PopBack(strName);
    EXPECT_EQ(strName, "");
}

TEST(Utf8PopBack, EmptyTextStaysEmpty) {
    std::string strName;
    Utf8PopBack(strName);
    EXPECT_TRUE(strName.empty());
}

TEST(Utf8PopBack, BrokenBytesGoOneAtATimeWithoutEatingTheCharacterBefore) {
    std::string strStray = "ab\x80";
    Utf8PopBack(strStray);
    EXPECT_EQ(strStray, "ab");

    std::string strCutShort = "a\xE2\x82"; // the first two bytes of a three-byte character
    Utf8PopBack(strCutShort);
    EXPECT_EQ(strCutShort, "a");

    std::string strOnlyContinuations = "\x80\x80\x80\x80\x80";
    Utf8PopBack(strOnlyContinuations);
    EXPECT_EQ(strOnlyContinuations.size(), 4u);
}

TEST(Utf8Prefix, ShortTextIsKeptWhole) {
    EXPECT_EQ(Utf8Prefix("Jürgen", 19), "Jürgen");
    EXPECT_EQ(Utf8Prefix("", 19), "");
}

TEST(Utf8Prefix, CharacterThatWouldBeSplitIsLeftOutWhole) {
    const std::string strLetters(18, 'x');
    EXPECT_EQ(Utf8Prefix(strLetters + "\u00fc", 19), strLetters);
    EXPECT_EQ(Utf8Prefix(strLetters.substr(1) + "\u00fc", 19), strLetters.substr(1) + "\u00fc");
    EXPECT_EQ(Utf8Prefix(std::string(17, 'x') + "\U0001F600", 19), std::string(17, 'x'));
}

TEST(Utf8Prefix, EveryLimitCutsOnACharacterBoundaryAndAsLateAsPossible) {
    const std::string strText = "J\u00fcrgen \u20ac\U0001F600 M\u00fcller-L\u00fcdenscheid";
    for (std::size_t limit = 0; limit <= strText.size() + 1; ++limit) {
        SCOPED_TRACE(limit);
        const std::string strCut = Utf8Prefix(strText, limit);
        ASSERT_LE(strCut.size(), limit);
        EXPECT_EQ(strText.compare(0, strCut.size(), strCut), 0);
        if (strCut.size() < strText.size()) {
            EXPECT_FALSE(IsContinuation(strText[strCut.size()]));
            // No character is shorter than the room left: at most three bytes go unused.
            EXPECT_LT(limit - strCut.size(), 4u);
        }
    }
}

TEST(Utf8Prefix, BrokenTextIsCutAtTheByteLimit) {
    const std::string strBroken(25, '\x80');
    EXPECT_EQ(Utf8Prefix(strBroken, 19).size(), 19u);
}
