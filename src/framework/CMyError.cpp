#include "framework/CMyError.h"

#include <cstdio>

#include <SDL.h>

#include "framework/CFramework.h"

void CMyError::FormatReport(char* pBuffer, std::size_t size, const char* text, const char* detail) {
    SDL_snprintf(pBuffer, size, "%s\nFehler: %s", text, detail);
}

void CMyError::PrintError(const char* text, const char* detail, bool bConsoleOnly) {
    char szBuffer[BUFFER_SIZE];
    FormatReport(szBuffer, sizeof(szBuffer), text, detail);
    if (!bConsoleOnly) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Fehlermeldung", szBuffer,
                                 CFramework::Get()->m_pWindow);
    }
    std::fprintf(stderr, "%s\n", szBuffer);
    std::fflush(stderr);
}
