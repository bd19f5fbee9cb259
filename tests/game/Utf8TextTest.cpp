// The name is UTF-8: Backspace and the cut to the screen keep its characters whole.

#include <gtest/gtest.h>

#include "game/Utf8Text.h"

TEST(Utf8Text, BackspaceAndTheScreenCutKeepCharactersWhole) {
    // A character cut short, then characters of one to four bytes, then a stray byte.
    std::string strName = "a\xE2\x82"
                          "b\u00fc\u20ac\U0001F600\x80";
    for (const char* pLeft : {"a\xE2\x82"
                              "b\u00fc\u20ac\U0001F600",
                              "a\xE2\x82"
                              "b\u00fc\u20ac",
                              "a\xE2\x82"
                              "b\u00fc",
                              "a\xE2\x82"
                              "b",
                              "a\xE2\x82", "a", "", ""}) {
        Utf8PopBack(strName);
        EXPECT_EQ(strName, pLeft);
    }

    // For every limit the cut ends at the last character start at or before it.
    const std::string strText = "J\u00fcrgen \u20ac\U0001F600 M\u00fcller";
    std::size_t uBoundary = 0;
    for (std::size_t uLimit = 0; uLimit <= strText.size() + 1; ++uLimit) {
        if (uLimit == strText.size() ||
            (uLimit < strText.size() &&
             (static_cast<unsigned char>(strText[uLimit]) & 0xC0) != 0x80)) {
            uBoundary = uLimit;
        }
        EXPECT_EQ(Utf8Prefix(strText, uLimit), strText.substr(0, uBoundary)) << uLimit;
    }
    // Text with no character boundary at all is cut at the limit.
    EXPECT_EQ(Utf8Prefix(std::string(25, '\x80'), 19), std::string(19, '\x80'));
}
