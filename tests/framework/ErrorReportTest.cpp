#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "framework/CMyError.h"

TEST(ErrorReport, ConsoleReportHasTextThenDetailLine) {
    testing::internal::CaptureStderr();
    CMyError::PrintError("Fenster konnte nicht erzeugt werden!", "no display", true);
    const std::string strOut = testing::internal::GetCapturedStderr();
    EXPECT_EQ(strOut, "Fenster konnte nicht erzeugt werden!\nFehler: no display\n");
}

TEST(ErrorReport, BoxReportStillReachesStandardError) {
    // Under the dummy video driver the box returns at once; the text must be written all the same.
    testing::internal::CaptureStderr();
    CMyError::PrintError("Konnte Schriftart nicht laden!", "missing", false);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Konnte Schriftart nicht laden!\nFehler: missing\n");
}

TEST(ErrorReport, OverlongTextIsCutTo1023BytesWithoutOverrun) {
    const std::string strLong(3000, 'x');
    char szBuffer[CMyError::BUFFER_SIZE + 16];
    std::memset(szBuffer, '#', sizeof(szBuffer));
    CMyError::FormatReport(szBuffer, CMyError::BUFFER_SIZE, strLong.c_str(), "detail");
    EXPECT_EQ(std::strlen(szBuffer), CMyError::BUFFER_SIZE - 1);
    for (std::size_t i = CMyError::BUFFER_SIZE; i < sizeof(szBuffer); ++i) {
        EXPECT_EQ(szBuffer[i], '#') << "byte " << i << " written past the buffer";
    }

    testing::internal::CaptureStderr();
    CMyError::PrintError(strLong.c_str(), "detail", true);
    const std::string strOut = testing::internal::GetCapturedStderr();
    EXPECT_EQ(strOut, std::string(CMyError::BUFFER_SIZE - 1, 'x') + "\n");
}
