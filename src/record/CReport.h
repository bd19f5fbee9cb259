#pragma once
// The report for parents and teachers, in German: a text summary, one self-contained HTML page,
// and every recorded apple as CSV. Plain C++ over what the record file holds.

#include <cstdio>
#include <ctime>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "record/CRecordFile.h"
#include "record/ReportRules.h"

// The needs-practice rule in the report's own words, and what an empty record says.
extern const char* const REPORT_RULE;
extern const char* const NOTHING_RECORDED;

using FactKey = std::pair<int, int>; // a x b

// What the record holds of one player.
struct SPlayerReport {
    std::string strName;
    int iGames;
    int iUnfinished;
    int iMisses;
    int aiOutcomes[OUTCOME_COUNT];
    float fMedianSeconds; // of every solved apple; below 0 when none was solved
    std::map<FactKey, std::vector<SAttempt>> facts;
};

class CReport {
public:
    // Sums m_Games and m_Apples up per player, in the order of the players' names.
    void Gather();

    void WriteText(std::FILE* pOut) const;
    void WriteCsv(std::FILE* pOut) const;
    // The page (record/CReportHtml.cpp), stamped with the time it was made.
    void WriteHtml(std::FILE* pOut, std::time_t made) const;

    std::vector<SRecordGame> m_Games; // as read from the record
    std::vector<SRecordApple> m_Apples;
    std::vector<SPlayerReport> m_Players;
};

// "7 × 8: 5 Versuche, 2 gelöst, mittlere Lösezeit 12,5 s"
std::string FactLine(const FactKey& fact, const SJudgement& judgement);
