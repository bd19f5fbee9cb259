#include "game/CGame.h"

#include <SDL.h>

#include "AssetGeometry.h"
#include "framework/CFramework.h"
#include "media/CMySound.h"
#include "media/CSprite.h"
#include "playfield/CWitchey.h"
#include "record/RecordHooks.h"
#include "scorestore/CDBConnection.h"

namespace {
// Seconds between two apples at the start of every game.
const float START_SPAWN_INTERVAL = 3.5f;
// Above the start interval, so the first game of a run shows an apple in its first play frame.
const float FIRST_SPAWN_TIMER = 10.5f;
// Largest factor of the tasks until F10 or F11 is pressed.
const int START_RANGE = 10;

const char* const SCORE_DATABASE = "score/scores.db";

// Horses, as CHorse::Init takes them: hits at the start and the side (1 left, 2 right).
const int HORSE_START_HITS = 0;
const int HORSE_SIDE_LEFT = 1;
const int HORSE_SIDE_RIGHT = 2;

// Top-left corner of the final score on the game-over page, in screen pixels.
const int GAMEOVER_SCORE_X = 346;
const int GAMEOVER_SCORE_Y = 460;

// Top-left corner of the help page and its translucent backing, in screen pixels.
const float HELP_X = 100.0f;
const float HELP_Y = 30.0f;
const Uint8 HELP_BACK_ALPHA = 180;

// A whole bitmap drawn at (0, 0), without colour key.
CSprite* NewPicture(const SAssetGeometry& picture) {
    CSprite* pSprite = new CSprite;
    pSprite->Load(picture.pFile);
    return pSprite;
}

// A sheet in the frames the picture manifest gives it (0 frames: drawn whole), keyed on
// magenta when the manifest says so.
CSprite* NewSheet(const SAssetGeometry& picture) {
    CSprite* pSprite = new CSprite;
    pSprite->Load(picture);
    return pSprite;
}

void DeleteSprite(CSprite*& pSprite) {
    delete pSprite;
    pSprite = nullptr;
}

void FreeSurface(SDL_Surface*& pSurface) {
    if (pSurface != nullptr) {
        SDL_FreeSurface(pSurface);
        pSurface = nullptr;
    }
}

void DrawStartPage(CGame& game) {
    game.m_pStartPage->Render();
    game.RenderPlayerName();
    game.RenderHighScore(false);
}

void DrawPlayScene(CGame& game) {
    game.m_pBackground->Render();
    game.m_pWitch->Update();
    game.m_pWitch->Render();
    // May end the game; the rest of this frame is still drawn as play.
    game.RenderHorses();
    // The help page freezes the actors: nothing spawns, falls, collides or speeds up.
    if (!game.m_bHelp) {
        game.SpawnApples();
        game.CheckCollisions();
        game.RenderApples();
        game.RenderBonus();
        game.Accelerate();
    }
    game.RenderLives();
    game.RenderScore();
}

void DrawGameOverPage(CGame& game) {
    game.m_pGameOver->Render();
    // The score as it was rendered in the last play frame.
    if (game.m_pScoreText != nullptr) {
        SDL_Rect dest{GAMEOVER_SCORE_X, GAMEOVER_SCORE_Y, 0, 0};
        SDL_UpperBlit(game.m_pScoreText, nullptr, CFramework::Get()->m_pScreen, &dest);
    }
}

void DrawHelpPage(CGame& game) {
    game.m_pHelpScreenBack->SetPos(HELP_X, HELP_Y);
    game.m_pHelpScreenBack->Render();
    game.m_pHelpScreen->SetPos(HELP_X, HELP_Y);
    game.m_pHelpScreen->Render();
    game.RenderHighScore(true);
}
} // namespace

CGame::CGame()
    : m_pWitch(nullptr), m_pBackground(nullptr), m_pGameOver(nullptr), m_pAppleSprite(nullptr),
      m_pBonusSprite(nullptr), m_pHorseLeftSprite(nullptr), m_pHorseRightSprite(nullptr),
      m_pLivesSprite(nullptr), m_pShowScoreSprite(nullptr), m_pStartPage(nullptr),
      m_pHelpScreen(nullptr), m_pHelpScreenBack(nullptr), m_fSpawnTimer(0.0f), m_bRunning(false),
      m_fSpawnInterval(0.0f), m_fAccelTimer(0.0f), m_iScore(0), m_pScoreText(nullptr),
      m_bScoreChanged(false), m_pHighScoreText(nullptr), m_bHighScoreChanged(false),
      m_iState(STATE_START), m_pPlayerNameText(nullptr), m_bPlayerNameChanged(false),
      m_bHelp(false), m_iRange(START_RANGE), m_bMultiply(true) {}

// The sprites, the witch and the text surfaces are released by Quit.
CGame::~CGame() {}

void CGame::Init() {
    m_iScore = 0;
    m_iState = STATE_START;
    m_fSpawnInterval = START_SPAWN_INTERVAL;
    m_fAccelTimer = 0.0f;
    m_strPlayerName.clear();
    m_bPlayerNameChanged = false;
    m_strAnswer.clear();
    m_bHelp = false;
    m_bScoreChanged = true;
    m_bHighScoreChanged = true;
    m_iRange = START_RANGE;
    m_bMultiply = true;

    m_pWitch = new CWitchey;
    m_pWitch->Init();

    CDBConnection::Get()->OpenDB(SCORE_DATABASE);

    CMySound* pSound = CMySound::Get();
    pSound->Load("Sound/sound.wav", SOUND_MUSIC);
    pSound->Load("Sound/boing.wav", SOUND_BOING);
    pSound->Load("Sound/success.wav", SOUND_SUCCESS);
    pSound->Load("Sound/fail.wav", SOUND_FAIL);

    m_pBackground = NewPicture(ASSET_BAUM);
    m_pGameOver = NewPicture(ASSET_GAMEOVER2);
    m_pAppleSprite = NewSheet(ASSET_APPLE5);
    m_pBonusSprite = NewSheet(ASSET_BONUS3);
    m_pHorseLeftSprite = NewSheet(ASSET_PFERDLEFT);
    CHorse leftHorse{};
    leftHorse.Init(m_pHorseLeftSprite, HORSE_START_HITS, HORSE_SIDE_LEFT);
    m_Horses.push_back(leftHorse);
    m_pHorseRightSprite = NewSheet(ASSET_PFERDRIGHT);
    CHorse rightHorse{};
    rightHorse.Init(m_pHorseRightSprite, HORSE_START_HITS, HORSE_SIDE_RIGHT);
    m_Horses.push_back(rightHorse);
    m_pLivesSprite = NewSheet(ASSET_LIVES);
    m_pShowScoreSprite = NewSheet(ASSET_SHOWSCORE);
    m_pStartPage = NewSheet(ASSET_STARTPAGE);
    m_pHelpScreen = NewSheet(ASSET_HELPSCREEN);
    m_pHelpScreenBack = NewSheet(ASSET_HELPSCREEN_BACK);
    m_pHelpScreenBack->SetAlpha(HELP_BACK_ALPHA);

    m_fSpawnTimer = FIRST_SPAWN_TIMER;
    m_bRunning = true;
}

void CGame::Run() {
    CMySound::Get()->Play(SOUND_MUSIC);
    // The start page takes the player's name as text input.
    SDL_StartTextInput();
    while (m_bRunning) {
        RunFrame();
    }
}

void CGame::RunFrame() {
    m_bPlayerNameChanged = false;
    ProcessEvents();
    CFramework::Get()->Update();
    CFramework::Get()->Clear();

    switch (m_iState) {
    case STATE_START:
        DrawStartPage(*this);
        break;
    case STATE_PLAY:
        DrawPlayScene(*this);
        break;
    default:
        DrawGameOverPage(*this);
        break;
    }
    if (m_bHelp) {
        DrawHelpPage(*this);
    }

    CFramework::Get()->Flip();
}

void CGame::StartGame() {
    if (m_iState == STATE_START) {
        RecordGameBegins(*this);
    }
    // Digits typed into the name also reached the answer; they must not count.
    m_strAnswer.clear();
    SDL_ShowCursor(SDL_DISABLE);
    SDL_StopTextInput();
    m_iState = STATE_PLAY;
}

void CGame::ResetGame(int iMode) {
    // F2 during play leaves the game unfinished.
    RecordGameEnds(*this, false);
    if (iMode == 0) {
        // A new player: the start page takes a name again.
        m_strPlayerName.clear();
        m_bPlayerNameChanged = true;
        SDL_ShowCursor(SDL_ENABLE);
        SDL_StartTextInput();
    }
    m_iScore = 0;
    m_fSpawnInterval = START_SPAWN_INTERVAL;
    m_fAccelTimer = 0.0f;
    m_bScoreChanged = true;
    m_bHighScoreChanged = true;
    // The next finished game gets a row of its own.

    // The first frame after a reset measures its time from here.
    CFramework::Get()->Update();
    CFramework::Get()->Clear();

    // A game after a reset shows its first apple one whole interval in.
    m_fSpawnTimer = 0.0f;
    for (CApple& apple : m_Apples) {
        apple.Quit();
    }
    m_Apples.clear();
    m_Bonuses.clear();
    for (CHorse& horse : m_Horses) {
        horse.Reset();
    }
}

void CGame::Quit() {
    RecordQuit(*this);
    // The nodes stay until the destructor; only the task texts go now.
    for (CApple& apple : m_Apples) {
        apple.Quit();
    }
    TSingleton<CDBConnection>::Del();

    if (m_pWitch != nullptr) {
        m_pWitch->Quit();
        delete m_pWitch;
        m_pWitch = nullptr;
    }

    DeleteSprite(m_pAppleSprite);
    DeleteSprite(m_pBonusSprite);
    DeleteSprite(m_pHorseLeftSprite);
    DeleteSprite(m_pHorseRightSprite);
    DeleteSprite(m_pBackground);
    DeleteSprite(m_pGameOver);
    DeleteSprite(m_pLivesSprite);
    DeleteSprite(m_pShowScoreSprite);
    DeleteSprite(m_pStartPage);
    DeleteSprite(m_pHelpScreen);
    DeleteSprite(m_pHelpScreenBack);

    FreeSurface(m_pScoreText);
    FreeSurface(m_pPlayerNameText);
    FreeSurface(m_pHighScoreText);
}
