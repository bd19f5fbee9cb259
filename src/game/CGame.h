#pragma once
// The game object: owns every asset, the actor lists, score, name and state, and runs the loop.

#include <list>
#include <string>

#include <SDL.h>

#include "playfield/CApple.h"
#include "playfield/CBonus.h"
#include "playfield/CHorse.h"

class CSprite;
class CWitchey;

enum { STATE_START = 0, STATE_PLAY = 1, STATE_GAMEOVER = 2 };

class CGame {
public:
    CGame();
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    void Init();
    void Run();
    void Quit();
    void ResetGame(int iMode);
    void StartGame();

    // One pass of the main loop: event, timer, clear, the state's scene, help page, present.
    void RunFrame();

    // Event handling (game/CGameEvents.cpp).
    void ProcessEvents();

    // Heads-up display and high-score table (game/CGameDisplay.cpp).
    void RenderLives();
    void RenderScore();
    void RenderPlayerName();
    void RenderHighScore(bool bHelpPage);

    // Rules of play (playfield/CGamePlay.cpp).
    void SpawnApples();
    void RenderApples();
    void CheckCollisions();
    void RenderHorses();
    void Accelerate();
    void CheckSolution();
    void RenderBonus();

    CWitchey* m_pWitch;
    CSprite* m_pBackground;
    CSprite* m_pGameOver;
    CSprite* m_pAppleSprite;
    CSprite* m_pBonusSprite;
    CSprite* m_pHorseLeftSprite;
    CSprite* m_pHorseRightSprite;
    CSprite* m_pLivesSprite;
    CSprite* m_pShowScoreSprite;
    CSprite* m_pStartPage;
    CSprite* m_pHelpScreen;
    CSprite* m_pHelpScreenBack;
    float m_fSpawnTimer;
    bool m_bRunning;
    std::list<CApple> m_Apples;
    std::list<CBonus> m_Bonuses;
    std::list<CHorse> m_Horses;
    std::string m_strAnswer;
    float m_fSpawnInterval;
    float m_fAccelTimer;
    int m_iScore;
    SDL_Surface* m_pScoreText;
    bool m_bScoreChanged;
    SDL_Surface* m_pHighScoreText;
    bool m_bHighScoreChanged;
    int m_iState;
    SDL_Surface* m_pPlayerNameText;
    std::string m_strPlayerName;
    bool m_bPlayerNameChanged;
    bool m_bHelp;
    int m_iRange;
    bool m_bMultiply;
};
