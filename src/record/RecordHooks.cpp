#include "record/RecordHooks.h"

#include <ctime>

#include "game/CGame.h"
#include "playfield/CApple.h"
#include "record/CRecord.h"
#include "scorestore/CDBConnection.h"

void RecordGameBegins(const CGame& game) {
    CRecord::Get()->BeginGame(game.m_iRange, game.m_bMultiply, std::time(nullptr));
}

void RecordApple(const CApple& apple, int iOutcome) {
    CRecord::Get()->AddApple(apple.m_strTask.c_str(), apple.m_fYPos, iOutcome);
}

void RecordMiss() {
    CRecord::Get()->AddMiss();
}

void RecordGameEnds(const CGame& game, bool bFinished) {
    CRecord* pRecord = CRecord::Get();
    if (!pRecord->m_bRecording) {
        return;
    }
    for (const CApple& apple : game.m_Apples) {
        // An apple that fell out has its outcome already.
        if (apple.m_bAlive) {
            pRecord->AddApple(apple.m_strTask.c_str(), apple.m_fYPos, OUTCOME_FALLING);
        }
    }
    CDBConnection names;
    pRecord->EndGame(RECORD_PATH, names.SanitizeText(game.m_strPlayerName), game.m_iScore,
                     bFinished);
}

void RecordQuit(const CGame& game) {
    RecordGameEnds(game, false);
    TSingleton<CRecord>::Del();
}
