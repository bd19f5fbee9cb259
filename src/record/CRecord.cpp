#include "record/CRecord.h"

#include <cstdio>

namespace {
// Apples a game usually meets, kept ready so that an apple's outcome costs no allocation.
const std::size_t APPLES_RESERVED = 256;

const char* const NOT_WRITTEN = "Lernaufzeichnung nicht gespeichert (%s): %s\n";
} // namespace

CRecord::CRecord() : m_bRecording(false), m_Game{} {}

void CRecord::BeginGame(int iRange, bool bMultiply, std::time_t started) {
    char szStarted[32];
    FormatUtc(started, szStarted, sizeof(szStarted));
    m_Game = SRecordGame{0, "", szStarted, iRange, bMultiply ? 'x' : ':', 0, false, 0};
    m_Apples.clear();
    m_Apples.reserve(APPLES_RESERVED);
    m_bRecording = true;
}

void CRecord::AddApple(const char* pTask, float fYPos, int iOutcome) {
    SRecordApple apple{};
    if (!m_bRecording || !ReadShownTask(pTask, apple)) {
        return;
    }
    apple.iOutcome = iOutcome;
    apple.fSeconds = SecondsInAir(fYPos);
    m_Apples.push_back(apple);
}

void CRecord::AddMiss() {
    if (m_bRecording) {
        ++m_Game.iMisses;
    }
}

bool CRecord::EndGame(const char* pPath, const std::string& strPlayer, int iScore, bool bFinished) {
    if (!m_bRecording) {
        return false;
    }
    m_bRecording = false;
    m_Game.strPlayer = strPlayer;
    m_Game.iScore = iScore;
    m_Game.bFinished = bFinished;
    CRecordFile file;
    const bool bWritten = file.Open(pPath, RECORD_WRITE) && file.WriteGame(m_Game, m_Apples);
    if (!bWritten) {
        std::fprintf(stderr, NOT_WRITTEN, pPath, file.m_strError.c_str());
        std::fflush(stderr);
    }
    m_Apples.clear();
    return bWritten;
}
