#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "framework/CFramework.h"
#include "media/CMySound.h"

namespace {
const int ALL_STATES[] = {STATE_START, STATE_PLAY, STATE_GAMEOVER};

const SDL_Scancode TOP_ROW_DIGITS[] = {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3,
                                       SDL_SCANCODE_4, SDL_SCANCODE_5, SDL_SCANCODE_6,
                                       SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9,
                                       SDL_SCANCODE_0};
const SDL_Scancode KEYPAD_DIGITS[] = {SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
                                      SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6,
                                      SDL_SCANCODE_KP_7, SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9,
                                      SDL_SCANCODE_KP_0};

bool CursorShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

// What a key can change, to show that a key changed nothing.
struct SGameView {
    int iState;
    bool bRunning;
    std::string strName;
    std::string strAnswer;
    bool bHelp;
    int iRange;
    bool bMultiply;
    int iScore;
    float fSpawnTimer;

    explicit SGameView(const CGame& game)
        : iState(game.m_iState), bRunning(game.m_bRunning), strName(game.m_strPlayerName),
          strAnswer(game.m_strAnswer), bHelp(game.m_bHelp), iRange(game.m_iRange),
          bMultiply(game.m_bMultiply), iScore(game.m_iScore), fSpawnTimer(game.m_fSpawnTimer) {}

    bool operator==(const SGameView& o) const {
        return iState == o.iState && bRunning == o.bRunning && strName == o.strName &&
               strAnswer == o.strAnswer && bHelp == o.bHelp && iRange == o.iRange &&
               bMultiply == o.bMultiply && iScore == o.iScore && fSpawnTimer == o.fSpawnTimer;
    }
};

using KeyTable = GameTest;
using NameEntry = GameTest;
using StartButton = GameTest;
using EventQueue = GameTest;
} // namespace

TEST_F(KeyTable, DigitKeysOfBothRowsAppendTheirDigitInEveryState) {
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strAnswer.clear();
        for (SDL_Scancode key : TOP_ROW_DIGITS) {
            Press(key);
        }
        for (SDL_Scancode key : KEYPAD_DIGITS) {
            Press(key);
        }
        EXPECT_EQ(m_Game.m_strAnswer, "12345678901234567890");
        EXPECT_EQ(m_Game.m_iState, iState);
    }
}

TEST_F(KeyTable, RepeatedKeyDownsAppendOnceEach) {
    m_Game.m_iState = STATE_PLAY;
    for (int i = 0; i < 3; ++i) {
        DrainEvents();
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.repeat = i > 0 ? 1 : 0;
        event.key.keysym.scancode = SDL_SCANCODE_7;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        m_Game.ProcessEvents();
    }
    EXPECT_EQ(m_Game.m_strAnswer, "777");
}

TEST_F(KeyTable, ReturnStartsAnotherGameForTheSamePlayerOnlyFromGameOver) {
    for (int iState : {STATE_START, STATE_PLAY}) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_iScore = 700;
        const SGameView before(m_Game);
        Press(SDL_SCANCODE_RETURN);
        EXPECT_TRUE(SGameView(m_Game) == before);
    }

    m_Game.m_iState = STATE_GAMEOVER;
    m_Game.m_strPlayerName = "Anna";
    m_Game.m_iScore = 2500;
    m_Game.m_fSpawnInterval = 1.5f;
    m_Game.m_bScoreStored = true;
    Press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
    EXPECT_EQ(m_Game.m_strPlayerName, "Anna");
    EXPECT_EQ(m_Game.m_iScore, 0);
    EXPECT_FLOAT_EQ(m_Game.m_fSpawnInterval, 3.5f);
    EXPECT_FALSE(m_Game.m_bScoreStored);
}

TEST_F(KeyTable, EscapeEndsTheLoopInEveryState) {
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_bRunning = true;
        Press(SDL_SCANCODE_ESCAPE);
        EXPECT_FALSE(m_Game.m_bRunning);
        EXPECT_EQ(m_Game.m_iState, iState);
    }
}

TEST_F(KeyTable, ClosingTheWindowEndsTheLoop) {
    DrainEvents();
    SDL_Event event{};
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
    m_Game.ProcessEvents();
    EXPECT_FALSE(m_Game.m_bRunning);
}

TEST_F(KeyTable, BackspaceShortensTheNameInEveryState) {
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strPlayerName = "Tom";
        m_Game.m_strAnswer = "12";
        m_Game.m_bPlayerNameChanged = false;
        Press(SDL_SCANCODE_BACKSPACE);
        EXPECT_EQ(m_Game.m_strPlayerName, "To");
        EXPECT_TRUE(m_Game.m_bPlayerNameChanged);
        // The answer cannot be corrected.
        EXPECT_EQ(m_Game.m_strAnswer, "12");
    }
}

TEST_F(KeyTable, BackspaceOnAnEmptyNameChangesNothing) {
    m_Game.m_bPlayerNameChanged = false;
    Press(SDL_SCANCODE_BACKSPACE);
    EXPECT_TRUE(m_Game.m_strPlayerName.empty());
    EXPECT_FALSE(m_Game.m_bPlayerNameChanged);
}

TEST_F(KeyTable, SpaceJudgesTheTypedAnswerInEveryState) {
    // No apple is on the field, so every answer is wrong.
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strAnswer = "56";
        const int iFailsBefore = CMySound::Get()->PlayCount(SOUND_FAIL);
        Press(SDL_SCANCODE_SPACE);
        EXPECT_TRUE(m_Game.m_strAnswer.empty());
        EXPECT_EQ(CMySound::Get()->PlayCount(SOUND_FAIL), iFailsBefore + 1);
    }
}

TEST_F(KeyTable, F1TogglesTheHelpPageInEveryStateWithoutChangingIt) {
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        Press(SDL_SCANCODE_F1);
        EXPECT_TRUE(m_Game.m_bHelp);
        Press(SDL_SCANCODE_F1);
        EXPECT_FALSE(m_Game.m_bHelp);
        EXPECT_EQ(m_Game.m_iState, iState);
    }
}

TEST_F(KeyTable, F2GoesBackToTheStartPageForANewPlayer) {
    for (int iState : {STATE_PLAY, STATE_GAMEOVER}) {
        SCOPED_TRACE(iState);
        m_Game.StartGame();
        m_Game.m_iState = iState;
        m_Game.m_strPlayerName = "Anna";
        m_Game.m_iScore = 900;
        m_Game.m_bPlayerNameChanged = false;
        Press(SDL_SCANCODE_F2);
        EXPECT_EQ(m_Game.m_iState, STATE_START);
        EXPECT_TRUE(m_Game.m_strPlayerName.empty());
        EXPECT_TRUE(m_Game.m_bPlayerNameChanged);
        EXPECT_EQ(m_Game.m_iScore, 0);
        EXPECT_TRUE(SDL_IsTextInputActive());
        EXPECT_TRUE(CursorShown());
    }

    m_Game.m_strPlayerName = "Anna";
    const SGameView before(m_Game);
    Press(SDL_SCANCODE_F2);
    EXPECT_TRUE(SGameView(m_Game) == before) << "F2 on the start page does nothing";
}

TEST_F(KeyTable, F5StartsPlayFromEveryStateWithoutAReset) {
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strAnswer = "42";
        m_Game.m_iScore = 300;
        m_Game.m_strPlayerName = "Tom";
        m_Game.m_Apples.clear();
        m_Game.m_Apples.push_back(CApple{});
        SDL_ShowCursor(SDL_ENABLE);
        SDL_StartTextInput();
        Press(SDL_SCANCODE_F5);
        EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
        EXPECT_TRUE(m_Game.m_strAnswer.empty());
        EXPECT_EQ(m_Game.m_iScore, 300);
        EXPECT_EQ(m_Game.m_strPlayerName, "Tom");
        EXPECT_EQ(m_Game.m_Apples.size(), 1u);
        EXPECT_FALSE(SDL_IsTextInputActive());
        EXPECT_FALSE(CursorShown());
    }
}

TEST_F(KeyTable, F9ToF11ChooseTheLargestFactorAndF12TogglesTheOperation) {
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        Press(SDL_SCANCODE_F11);
        EXPECT_EQ(m_Game.m_iRange, 99);
        Press(SDL_SCANCODE_F10);
        EXPECT_EQ(m_Game.m_iRange, 20);
        Press(SDL_SCANCODE_F9);
        EXPECT_EQ(m_Game.m_iRange, 10);
        const bool bBefore = m_Game.m_bMultiply;
        Press(SDL_SCANCODE_F12);
        EXPECT_NE(m_Game.m_bMultiply, bBefore);
        Press(SDL_SCANCODE_F12);
        EXPECT_EQ(m_Game.m_bMultiply, bBefore);
        EXPECT_EQ(m_Game.m_iState, iState);
    }
}

TEST_F(KeyTable, OtherKeysDoNothingInAnyState) {
    const SDL_Scancode others[] = {SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_A, SDL_SCANCODE_F3,
                                   SDL_SCANCODE_F4,       SDL_SCANCODE_F6, SDL_SCANCODE_TAB,
                                   SDL_SCANCODE_DELETE,   SDL_SCANCODE_MINUS};
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strPlayerName = "Eva";
        m_Game.m_strAnswer = "3";
        const SGameView before(m_Game);
        for (SDL_Scancode key : others) {
            Press(key);
        }
        EXPECT_TRUE(SGameView(m_Game) == before);
    }
}

TEST_F(NameEntry, TwentyLettersOneByOneLeaveFourteen) {
    for (int i = 0; i < 20; ++i) {
        Type("k");
    }
    EXPECT_EQ(m_Game.m_strPlayerName, std::string(14, 'k'));
}

TEST_F(NameEntry, TextIsTakenWhileTheNameHoldsThirteenBytesAndThenAppendedWhole) {
    m_Game.m_strPlayerName = std::string(13, 'a');
    m_Game.m_bPlayerNameChanged = false;
    Type("bcdefghijklmnopqrstuvwxyz012345");
    EXPECT_EQ(m_Game.m_strPlayerName.size(), 13u + 31u);
    EXPECT_TRUE(m_Game.m_bPlayerNameChanged);

    m_Game.m_strPlayerName = std::string(14, 'a');
    m_Game.m_bPlayerNameChanged = false;
    Type("b");
    EXPECT_EQ(m_Game.m_strPlayerName, std::string(14, 'a'));
    EXPECT_FALSE(m_Game.m_bPlayerNameChanged);
}

TEST_F(NameEntry, LongInputMethodCommitKeepsWholeCharacters) {
    // 40 bytes of umlauts: SDL hands them over in pieces that end on character boundaries.
    const std::string strCommit = "ÄÖÜäöüßÄÖÜäöüßÄÖÜäöü";
    ASSERT_EQ(strCommit.size(), 40u);
    DrainEvents();
    PushCommit(strCommit);
    m_Game.ProcessEvents();
    m_Game.ProcessEvents();
    const std::string& strName = m_Game.m_strPlayerName;
    ASSERT_FALSE(strName.empty());
    EXPECT_LT(strName.size(), strCommit.size());
    EXPECT_EQ(strCommit.compare(0, strName.size(), strName), 0);
    EXPECT_EQ(strName.size() % 2, 0u) << "a character was split";
}

TEST_F(NameEntry, TextIsIgnoredOutsideTheStartPage) {
    for (int iState : {STATE_PLAY, STATE_GAMEOVER}) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strPlayerName = "Ute";
        m_Game.m_bPlayerNameChanged = false;
        Type("x");
        EXPECT_EQ(m_Game.m_strPlayerName, "Ute");
        EXPECT_FALSE(m_Game.m_bPlayerNameChanged);
    }
}

TEST_F(NameEntry, BackspaceRemovesWholeMultiByteCharacters) {
    Type("J");
    Type("ü");
    Type("😀");
    Press(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(m_Game.m_strPlayerName, "Jü");
    Press(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(m_Game.m_strPlayerName, "J");
    Press(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(m_Game.m_strPlayerName, "");
}

TEST_F(NameEntry, BackspaceDuringPlayShortensTheNameToBeStored) {
    Type("Lena");
    Press(SDL_SCANCODE_F5);
    ASSERT_EQ(m_Game.m_iState, STATE_PLAY);
    Press(SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(m_Game.m_strPlayerName, "Len");
}

TEST_F(NameEntry, DigitsTypedIntoTheNameNeverCountAsAnAnswer) {
    // A typed digit arrives as a key and as text.
    Press(SDL_SCANCODE_7);
    Type("7");
    EXPECT_EQ(m_Game.m_strPlayerName, "7");
    Press(SDL_SCANCODE_F5);
    EXPECT_TRUE(m_Game.m_strAnswer.empty());
}

TEST_F(StartButton, ReleaseInsideStartsTheGameFromEveryState) {
    const SDL_Rect button = CFramework::Get()->m_StartButtonRect;
    ASSERT_GT(button.w, 2);
    ASSERT_GT(button.h, 2);
    for (int iState : ALL_STATES) {
        SCOPED_TRACE(iState);
        m_Game.m_iState = iState;
        m_Game.m_strAnswer = "8";
        MoveMouseTo(button.x + 1, button.y + button.h - 1);
        PushMouse(SDL_MOUSEBUTTONUP);
        m_Game.ProcessEvents();
        EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
        EXPECT_TRUE(m_Game.m_strAnswer.empty());
        EXPECT_FALSE(SDL_IsTextInputActive());
    }
}

TEST_F(StartButton, ReleaseOnTheBorderOrOutsideDoesNotStart) {
    const SDL_Rect b = CFramework::Get()->m_StartButtonRect;
    const int iMidX = b.x + b.w / 2;
    const int iMidY = b.y + b.h / 2;
    const SDL_Point outside[] = {{b.x, iMidY},       {b.x + b.w, iMidY}, {iMidX, b.y},
                                 {iMidX, b.y + b.h}, {b.x - 1, iMidY},   {iMidX, b.y + b.h + 1},
                                 {b.x, b.y},         {b.x + b.w, b.y + b.h}};
    for (const SDL_Point& point : outside) {
        SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
        MoveMouseTo(point.x, point.y);
        PushMouse(SDL_MOUSEBUTTONUP);
        m_Game.ProcessEvents();
        EXPECT_EQ(m_Game.m_iState, STATE_START);
    }
    // One pixel further in on each side is inside.
    MoveMouseTo(b.x + b.w - 1, b.y + 1);
    PushMouse(SDL_MOUSEBUTTONUP);
    m_Game.ProcessEvents();
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
}

TEST_F(StartButton, PressingOrMovingOverTheButtonDoesNotStart) {
    const SDL_Rect b = CFramework::Get()->m_StartButtonRect;
    MoveMouseTo(b.x + b.w / 2, b.y + b.h / 2);
    PushMouse(SDL_MOUSEMOTION);
    m_Game.ProcessEvents();
    PushMouse(SDL_MOUSEBUTTONDOWN);
    m_Game.ProcessEvents();
    EXPECT_EQ(m_Game.m_iState, STATE_START);
    EXPECT_TRUE(SDL_IsTextInputActive());

    // Pressed outside, released inside: the release counts.
    MoveMouseTo(b.x - 5, b.y - 5);
    PushMouse(SDL_MOUSEBUTTONDOWN);
    m_Game.ProcessEvents();
    MoveMouseTo(b.x + b.w / 2, b.y + b.h / 2);
    PushMouse(SDL_MOUSEBUTTONUP);
    m_Game.ProcessEvents();
    EXPECT_EQ(m_Game.m_iState, STATE_PLAY);
}

TEST_F(EventQueue, OneEventIsHandledPerFrame) {
    m_Game.m_iState = STATE_PLAY;
    DrainEvents();
    PushKey(SDL_SCANCODE_4);
    PushKey(SDL_SCANCODE_2);
    PushKey(SDL_SCANCODE_F11);
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_strAnswer, "4");
    EXPECT_EQ(m_Game.m_iRange, 10);
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_strAnswer, "42");
    EXPECT_EQ(m_Game.m_iRange, 10);
    m_Game.RunFrame();
    EXPECT_EQ(m_Game.m_iRange, 99);
}

TEST_F(EventQueue, AnEmptyQueueChangesNothing) {
    m_Game.m_strPlayerName = "Ida";
    const SGameView before(m_Game);
    DrainEvents();
    m_Game.ProcessEvents();
    EXPECT_TRUE(SGameView(m_Game) == before);
}
