#pragma once
// The record of the game being played: collected in memory while it runs, written to the record
// file in one transaction when it ends, so that play never waits for the disk.

#include <ctime>
#include <string>
#include <vector>

#include "framework/TSingleton.h"
#include "record/CRecordFile.h"

class CRecord : public TSingleton<CRecord> {
public:
    CRecord();

    // A game begins on a fresh field with these settings.
    void BeginGame(int iRange, bool bMultiply, std::time_t started);
    // An apple of the game met its outcome; pTask is its text as shown, fYPos its top edge.
    void AddApple(const char* pTask, float fYPos, int iOutcome);
    // An answer of the game solved nothing.
    void AddMiss();
    // The game ends and is written to the record file at pPath. A failure costs that game's
    // record and one line on standard error; the game goes on.
    bool EndGame(const char* pPath, const std::string& strPlayer, int iScore, bool bFinished);

    bool m_bRecording; // a game is being recorded: outside one nothing is kept
    SRecordGame m_Game;
    std::vector<SRecordApple> m_Apples;
};
