// The rules of play: apples appear, fall and hit horses; answers solve apples; badges fall; the
// game ends when both horses are out; apples come more often as play goes on.

#include "game/CGame.h"

#include <cstdlib>

#include "framework/CFramework.h"
#include "framework/CTimer.h"
#include "media/CMySound.h"
#include "playfield/CWitchey.h"
#include "record/RecordHooks.h"
#include "record/RecordTask.h"
#include "scorestore/CDBConnection.h"

namespace {
// New apples start at a random x that keeps the 64-pixel apple inside the 800-pixel width,
// just above the top edge.
const int SPAWN_X_CHOICES = 736;
const float SPAWN_Y = -60.0f;

// Frame of the bonus sheet that marks an apple landing on a horse.
const int HIT_BADGE = 5;
// A solved apple is worth (k + 1) * 100 points for a random k below POINT_STEPS.
const int POINT_STEPS = 5;
const int POINTS_PER_STEP = 100;

const float BADGE_LIFETIME = 1.0f; // seconds

const int HORSES_IN_GAME = 2;
const char* const NAMELESS_PLAYER = "noname";

// Every ACCEL_PERIOD seconds of play the spawn interval shrinks by ACCEL_STEP while it is at
// least ACCEL_LIMIT, so it never falls below 0.5.
const float ACCEL_PERIOD = 90.0f;
const float ACCEL_STEP = 0.5f;
const float ACCEL_LIMIT = 1.0f;

// Lightning picture of the witch.
const float WITCH_CASTING = 2.0f;
} // namespace

void CGame::SpawnApples() {
    m_fSpawnTimer += CTimer::Get()->m_fElapsed;
    if (m_fSpawnTimer < m_fSpawnInterval) {
        return;
    }
    const float fX = static_cast<float>(std::rand() % SPAWN_X_CHOICES);
    CApple apple;
    apple.Init(m_pAppleSprite, fX, SPAWN_Y, m_iRange, m_bMultiply);
    // The copy in the list takes over the apple's text surface.
    m_Apples.push_back(apple);
    // Time past the interval is dropped.
    m_fSpawnTimer = 0.0f;
}

void CGame::RenderApples() {
    auto it = m_Apples.begin();
    while (it != m_Apples.end()) {
        if (it->m_bAlive) {
            // Drawn where the last frame left it, then moved.
            it->Render();
            it->Update();
            ++it;
        } else {
            it->Quit();
            it = m_Apples.erase(it);
        }
    }
}

void CGame::CheckCollisions() {
    const int iScreenWidth = CFramework::Get()->m_pScreen->w;
    bool bAnyHit = false;
    for (CHorse& horse : m_Horses) {
        const SCatchZone zone = HorseCatchZone(horse.m_Rect, horse.m_iSide, iScreenWidth);
        auto it = m_Apples.begin();
        while (it != m_Apples.end()) {
            // Apples move in the pass after this one, so this is last frame's position.
            const int ax = it->m_Rect.x;
            const int ay = it->m_Rect.y;
            if (!AppleHitsHorse(ax, ay, horse.m_Rect.y, zone)) {
                ++it;
                continue;
            }
            RecordApple(*it, OUTCOME_LANDED);
            it->Quit();
            it = m_Apples.erase(it);
            CBonus badge;
            badge.Init(m_pBonusSprite, HIT_BADGE, static_cast<float>(ax), static_cast<float>(ay));
            m_Bonuses.push_back(badge);
            // A horse that is out still catches apples; its count stays at three.
            horse.Update(true);
            bAnyHit = true;
        }
    }
    if (bAnyHit) {
        CMySound::Get()->Play(SOUND_BOING);
    }
}

void CGame::RenderHorses() {
    // Counted before this frame's update: the game ends on the frame after the last hit.
    int iOut = 0;
    for (CHorse& horse : m_Horses) {
        if (!horse.m_bAlive) {
            ++iOut;
        }
        horse.Update(false);
        horse.Render();
    }
    if (iOut != HORSES_IN_GAME) {
        return;
    }
    m_iState = STATE_GAMEOVER;
    if (m_strPlayerName.empty()) {
        m_strPlayerName = NAMELESS_PLAYER;
    }
    RecordGameEnds(*this, true);
    // Play entered again from the game-over page ends at once and stores the score again.
    CDBConnection::Get()->WriteScore(m_strPlayerName, m_iScore);
    m_bHighScoreChanged = true;
}

void CGame::Accelerate() {
    m_fAccelTimer += CTimer::Get()->m_fElapsed;
    if (m_fAccelTimer < ACCEL_PERIOD) {
        return;
    }
    if (m_fSpawnInterval >= ACCEL_LIMIT) {
        m_fSpawnInterval -= ACCEL_STEP;
    }
    m_fAccelTimer = 0.0f;
}

void CGame::CheckSolution() {
    // Digits only; an empty answer is 0, and a number past the int range keeps its low 32 bits.
    const int iAnswer = static_cast<int>(std::strtol(m_strAnswer.c_str(), nullptr, 10));
    m_strAnswer.clear();

    bool bMatched = false;
    std::list<SDL_Rect> struck;
    auto it = m_Apples.begin();
    while (it != m_Apples.end()) {
        if (!it->m_bAlive) {
            // Fell out below the field during the last frame: out of play, worth nothing.
            it->Quit();
            it = m_Apples.erase(it);
            continue;
        }
        if (it->m_iSolution < 0 || it->m_iSolution != iAnswer) {
            ++it;
            continue;
        }
        bMatched = true;
        m_bScoreChanged = true;

        // Each solved apple draws its own amount.
        ReseedFromClock(1);
        const int k = std::rand() % POINT_STEPS;
        m_iScore += (k + 1) * POINTS_PER_STEP;

        const SDL_Rect rect = it->m_Rect;
        RecordApple(*it, OUTCOME_SOLVED);
        it->m_bAlive = false;
        it->Quit();
        it = m_Apples.erase(it);

        CBonus badge;
        badge.Init(m_pBonusSprite, k, static_cast<float>(rect.x), static_cast<float>(rect.y));
        m_Bonuses.push_back(badge);
        CMySound::Get()->Play(SOUND_SUCCESS);
        struck.push_back(rect);
    }

    if (!bMatched) {
        RecordMiss();
        CMySound::Get()->Play(SOUND_FAIL);
        return;
    }
    // A strike restarts with only the apples solved now.
    if (m_pWitch != nullptr) {
        m_pWitch->m_fTimer = 0.0f;
        m_pWitch->m_fFrame = WITCH_CASTING;
        m_pWitch->m_Targets.swap(struck);
    }
}

void CGame::RenderBonus() {
    auto it = m_Bonuses.begin();
    while (it != m_Bonuses.end()) {
        if (it->m_fAge < BADGE_LIFETIME) {
            it->Render();
            it->Update();
            ++it;
        } else {
            it = m_Bonuses.erase(it);
        }
    }
}
