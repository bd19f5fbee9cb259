#include "game/CGame.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include "framework/CFramework.h"
#include "game/Utf8Text.h"
#include "media/CMyFont.h"
#include "media/CSprite.h"
#include "media/Picture.h"
#include "scorestore/CDBConnection.h"

namespace {
// Screen texts are cut to fit a 20-byte buffer.
const std::size_t SCREEN_TEXT_SIZE = 20;

// White; the alpha byte is left 0, which the blended renderer treats as opaque.
const SDL_Color TEXT_COLOR{255, 255, 255, 0};

// Lives indicators, in screen pixels, by the horse's side (1 left, 2 right).
const int LIVES_LEFT_X = 221;
const int LIVES_RIGHT_X = 457;
const int LIVES_Y = 555;

// The score box and the digits inside it.
const float SCORE_BOX_X = 691.0f;
const float SCORE_BOX_Y = 10.0f;
const int SCORE_TEXT_X = 700;
const int SCORE_TEXT_Y = 17;

const int PLAYER_NAME_X = 520;
const int PLAYER_NAME_Y = 270;

// The high-score table: the bitmap, where it lies, and its rows inside it.
const char* const HIGHSCORE_BITMAP = "ImgData/highscore.bmp";
const int TABLE_START_X = 511;
const int TABLE_START_Y = 393;
const int TABLE_HELP_X = 403;
const int TABLE_HELP_Y = 417;
const int TABLE_NAME_X = 19;
const int TABLE_SCORE_X = 146;
const int TABLE_FIRST_ROW_Y = 7;
const int TABLE_ROW_STEP = 20;

void BlitAt(SDL_Surface* pSource, SDL_Surface* pTarget, int x, int y) {
    SDL_Rect dest{x, y, 0, 0};
    SDL_UpperBlit(pSource, nullptr, pTarget, &dest);
}

// Renders one text of the table into the table bitmap; an empty text leaves its place empty.
void DrawTableText(TTF_Font* pFont, const std::string& strText, SDL_Surface* pTable, int x, int y) {
    SDL_Surface* pText = TTF_RenderText_Blended(pFont, strText.c_str(), TEXT_COLOR);
    if (pText != nullptr) {
        BlitAt(pText, pTable, x, y);
        SDL_FreeSurface(pText);
    }
}

} // namespace

void CGame::RenderLives() {
    for (const CHorse& horse : m_Horses) {
        int x = 0;
        if (horse.m_iSide == 1) {
            x = LIVES_LEFT_X;
        } else if (horse.m_iSide == 2) {
            x = LIVES_RIGHT_X;
        } else {
            continue;
        }
        // Frame n shows the indicator after n hits.
        m_pLivesSprite->SetPos(static_cast<float>(x), static_cast<float>(LIVES_Y));
        m_pLivesSprite->Render(static_cast<float>(horse.m_iHits));
    }
}

void CGame::RenderScore() {
    m_pShowScoreSprite->SetPos(SCORE_BOX_X, SCORE_BOX_Y);
    m_pShowScoreSprite->Render();
    if (m_bScoreChanged) {
        char szScore[SCREEN_TEXT_SIZE];
        SDL_snprintf(szScore, sizeof(szScore), "%010d", m_iScore);
        TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
        TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
        if (m_pScoreText != nullptr) {
            SDL_FreeSurface(m_pScoreText);
        }
        m_pScoreText = TTF_RenderText_Blended(pFont, szScore, TEXT_COLOR);
        m_bScoreChanged = false;
    }
    if (m_pScoreText != nullptr) {
        BlitAt(m_pScoreText, CFramework::Get()->m_pScreen, SCORE_TEXT_X, SCORE_TEXT_Y);
    }
}

void CGame::RenderPlayerName() {
    CMyFont* pFonts = CMyFont::Get();
    if (!pFonts->m_bLoaded) {
        return;
    }
    // The flag stays set: Run clears it at the start of the next frame.
    if (m_bPlayerNameChanged) {
        if (m_pPlayerNameText != nullptr) {
            SDL_FreeSurface(m_pPlayerNameText);
            m_pPlayerNameText = nullptr;
        }
        // The name is UTF-8 as typed; the cut to the screen buffer keeps whole characters.
        const std::string strShown = Utf8Prefix(m_strPlayerName, SCREEN_TEXT_SIZE - 1);
        TTF_SetFontStyle(pFonts->m_pFontLarge, TTF_STYLE_BOLD);
        m_pPlayerNameText =
            TTF_RenderUTF8_Blended(pFonts->m_pFontLarge, strShown.c_str(), TEXT_COLOR);
    }
    if (m_pPlayerNameText != nullptr) {
        BlitAt(m_pPlayerNameText, CFramework::Get()->m_pScreen, PLAYER_NAME_X, PLAYER_NAME_Y);
    }
}

void CGame::RenderHighScore(bool bHelpPage) {
    if (m_bHighScoreChanged) {
        if (m_pHighScoreText != nullptr) {
            SDL_FreeSurface(m_pHighScoreText);
        }
        // Loaded afresh each time: the rows drawn into the last copy are gone.
        m_pHighScoreText = LoadPicture(HIGHSCORE_BITMAP);
        if (m_pHighScoreText == nullptr) {
            CSprite::FailLoad(HIGHSCORE_BITMAP);
        }
        const HighScoreRows rows = CDBConnection::Get()->ReadHighScore();
        TTF_Font* pFont = CMyFont::Get()->m_pFontSmall;
        TTF_SetFontStyle(pFont, TTF_STYLE_BOLD);
        int y = TABLE_FIRST_ROW_Y;
        for (const auto& row : rows) {
            DrawTableText(pFont, row.first, m_pHighScoreText, TABLE_NAME_X, y);
            DrawTableText(pFont, row.second, m_pHighScoreText, TABLE_SCORE_X, y);
            y += TABLE_ROW_STEP;
        }
        // Rows are drawn into the picture as loaded; the finished table is then kept in the
        // screen's format, so showing it is a plain copy.
        m_pHighScoreText = ToScreenFormat(m_pHighScoreText, CFramework::Get()->m_pScreen);
        m_bHighScoreChanged = false;
    }
    if (m_pHighScoreText != nullptr) {
        const int x = bHelpPage ? TABLE_HELP_X : TABLE_START_X;
        const int y = bHelpPage ? TABLE_HELP_Y : TABLE_START_Y;
        BlitAt(m_pHighScoreText, CFramework::Get()->m_pScreen, x, y);
    }
}
