#include <string>

#include <SDL.h>
#include <gtest/gtest.h>

#include "media/CMyFont.h"
#include "support/TestRuntime.h"

TEST(Font, OpensTheFaceAtTwoSizes) {
    ASSERT_EQ(SDL_Init(0), 0);
    CMyFont* pFont = CMyFont::Get();
    ASSERT_TRUE(pFont->Init());
    EXPECT_FALSE(pFont->m_bLoaded);
    EXPECT_TRUE(pFont->Load("fonts/FreeSans.ttf"));
    EXPECT_TRUE(pFont->m_bLoaded);
    ASSERT_NE(pFont->m_pFontSmall, nullptr);
    ASSERT_NE(pFont->m_pFontLarge, nullptr);
    // The large face renders the same text taller than the small one.
    EXPECT_GT(TTF_FontHeight(pFont->m_pFontLarge), TTF_FontHeight(pFont->m_pFontSmall));

    pFont->CloseFont();
    EXPECT_EQ(pFont->m_pFontSmall, nullptr);
    EXPECT_EQ(pFont->m_pFontLarge, nullptr);
    pFont->CloseFont();
    pFont->Quit();
    TSingleton<CMyFont>::Del();
    SDL_Quit();
}

TEST(Font, MissingFileEndsTheProgram) {
    EXPECT_EXIT(
        {
            SDL_Init(0);
            CMyFont::Get()->Init();
            CMyFont::Get()->Load("fonts/Nowhere.ttf");
        },
        testing::ExitedWithCode(1), "Konnte Schriftart nicht laden!\nFehler: ");
}
