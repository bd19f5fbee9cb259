#pragma once
// The one place where the program tells the player that something failed.

#include <cstddef>

class CMyError {
public:
    static constexpr std::size_t BUFFER_SIZE = 1024;

    // Writes "text\nFehler: detail" (cut to 1023 bytes) into pBuffer.
    static void FormatReport(char* pBuffer, std::size_t size, const char* text, const char* detail);

    // Shows the report in a box titled "Fehlermeldung" unless bConsoleOnly, and always writes it
    // to standard error.
    static void PrintError(const char* text, const char* detail, bool bConsoleOnly);
};
