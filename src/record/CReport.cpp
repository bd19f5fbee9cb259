#include "record/CReport.h"

#include <unordered_map>

const char* const REPORT_RULE =
    "So wird beurteilt: Eine Aufgabe braucht Übung, wenn sie mindestens 3-mal kam und\n"
    "von den letzten 5 Malen mindestens einmal nicht gelöst wurde (auf einem Pferd gelandet\n"
    "oder zwischen den Pferden gefallen), oder wenn ihre mittlere Lösezeit (der Median) mehr\n"
    "als doppelt so lang ist wie die mittlere Lösezeit aller gelösten Äpfel des Kindes.\n"
    "Eine Aufgabe, die seltener kam, ist noch nicht beurteilt. Eine Geteilt-Aufgabe wie\n"
    "56 : 8 zählt als 7 × 8. Die Lösezeit läuft vom Erscheinen des Apfels bis zur Lösung;\n"
    "die Zeit mit offener Hilfeseite zählt nicht mit.";
const char* const NOTHING_RECORDED = "Noch keine Spiele aufgezeichnet.";

namespace {
const char* const TITLE = "Lernbericht Zentaris\n\n";
const char* const CSV_HEADER = "Spieler,Spiel,Spielbeginn (UTC),Zahlenraum,Aufgabe,Einmaleins,"
                               "Ergebnis,Sekunden\r\n";
// How each outcome reads in the CSV file.
const char* const CSV_OUTCOMES[OUTCOME_COUNT] = {"gelöst", "auf einem Pferd gelandet",
                                                 "zwischen den Pferden gefallen",
                                                 "beim Spielende noch im Fall"};

std::string Fact(int a, int b) {
    return std::to_string(a) + " × " + std::to_string(b);
}
} // namespace

std::string FactLine(const FactKey& fact, const SJudgement& judgement) {
    std::string strLine = Fact(fact.first, fact.second) + ": " +
                          std::to_string(judgement.iAttempts) + " Versuche, " +
                          std::to_string(judgement.iSolved) + " gelöst";
    if (judgement.fMedianSeconds >= 0.0f) {
        strLine += ", mittlere Lösezeit " + GermanSeconds(judgement.fMedianSeconds);
    }
    return strLine;
}

void CReport::Gather() {
    std::map<std::string, SPlayerReport> byName;
    std::unordered_map<long long, SPlayerReport*> byGame;
    for (const SRecordGame& game : m_Games) {
        SPlayerReport& player = byName[game.strPlayer];
        player.strName = game.strPlayer;
        ++player.iGames;
        player.iUnfinished += game.bFinished ? 0 : 1;
        player.iMisses += game.iMisses;
        byGame[game.iId] = &player;
    }
    std::unordered_map<const SPlayerReport*, std::vector<float>> solvedSeconds;
    for (const SRecordApple& apple : m_Apples) {
        const auto found = byGame.find(apple.iGame);
        if (found == byGame.end()) {
            continue;
        }
        SPlayerReport& player = *found->second;
        ++player.aiOutcomes[apple.iOutcome];
        player.facts[FactKey(apple.iFactA, apple.iFactB)].push_back(
            SAttempt{apple.iOutcome, apple.fSeconds});
        if (apple.iOutcome == OUTCOME_SOLVED) {
            solvedSeconds[&player].push_back(apple.fSeconds);
        }
    }
    m_Players.clear();
    for (auto& [strName, player] : byName) {
        player.fMedianSeconds = Median(solvedSeconds[&player]);
        m_Players.push_back(std::move(player));
    }
}

void CReport::WriteText(std::FILE* pOut) const {
    std::fprintf(pOut, "%s%s\n", TITLE, REPORT_RULE);
    if (m_Players.empty()) {
        std::fprintf(pOut, "\n%s\n", NOTHING_RECORDED);
    }
    for (const SPlayerReport& player : m_Players) {
        const int* pOutcomes = player.aiOutcomes;
        std::fprintf(pOut, "\n%s\n", player.strName.c_str());
        std::fprintf(pOut, "  Spiele: %d, davon %d nicht zu Ende gespielt\n", player.iGames,
                     player.iUnfinished);
        std::fprintf(pOut,
                     "  Äpfel: %d gelöst, %d auf einem Pferd gelandet, %d zwischen den Pferden "
                     "gefallen, %d beim Spielende noch im Fall\n",
                     pOutcomes[OUTCOME_SOLVED], pOutcomes[OUTCOME_LANDED], pOutcomes[OUTCOME_FELL],
                     pOutcomes[OUTCOME_FALLING]);
        std::fprintf(pOut, "  Antworten, die keinen Apfel lösten: %d\n", player.iMisses);
        std::fprintf(pOut, "  Mittlere Lösezeit: %s\n",
                     GermanSeconds(player.fMedianSeconds).c_str());
        std::vector<std::string> practice;
        int iNotYet = 0;
        for (const auto& [fact, attempts] : player.facts) {
            const SJudgement judgement = JudgeFact(attempts, player.fMedianSeconds);
            iNotYet += judgement.iJudged == JUDGED_NOT_YET ? 1 : 0;
            if (judgement.iJudged == JUDGED_PRACTICE) {
                practice.push_back(FactLine(fact, judgement));
            }
        }
        std::fprintf(pOut, "  Aufgaben, die Übung brauchen: %zu\n", practice.size());
        for (const std::string& strLine : practice) {
            std::fprintf(pOut, "    %s\n", strLine.c_str());
        }
        std::fprintf(pOut, "  Aufgaben, die noch nicht beurteilt sind: %d\n", iNotYet);
    }
}

void CReport::WriteCsv(std::FILE* pOut) const {
    std::fputs(CSV_HEADER, pOut);
    std::unordered_map<long long, const SRecordGame*> byGame;
    for (const SRecordGame& game : m_Games) {
        byGame[game.iId] = &game;
    }
    for (const SRecordApple& apple : m_Apples) {
        const auto found = byGame.find(apple.iGame);
        if (found == byGame.end()) {
            continue;
        }
        const SRecordGame& game = *found->second;
        const std::string strTask = std::to_string(apple.iLeft) + " " + apple.cOperation + " " +
                                    std::to_string(apple.iRight);
        std::fprintf(pOut, "%s,%lld,%s,%d,%s,%s,%s,%.1f\r\n", CsvField(game.strPlayer).c_str(),
                     game.iId, CsvField(game.strStarted).c_str(), game.iRange,
                     CsvField(strTask).c_str(), CsvField(Fact(apple.iFactA, apple.iFactB)).c_str(),
                     CSV_OUTCOMES[apple.iOutcome], static_cast<double>(apple.fSeconds));
    }
}
