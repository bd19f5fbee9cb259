// The report as one self-contained HTML page: no script, nothing fetched from anywhere.

#include "record/CReport.h"

namespace {
const int GRID_SIZE = 10; // facts up to 10 x 10 in the grid

const char* const PAGE_START =
    "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
    "style-src 'unsafe-inline'\">\n"
    "<title>Lernbericht Zentaris</title>\n<style>\n"
    "body{font-family:sans-serif;margin:16px;color:#222;background:#fff;max-width:60em}\n"
    "h1{font-size:22px}h2{font-size:18px;margin:28px 0 6px}h3{font-size:15px}\n"
    "table.grid{border-collapse:separate;border-spacing:2px}\n"
    ".grid th{font-size:12px;font-weight:bold;color:#444;padding:0 4px}\n"
    ".grid td{width:64px;height:40px;padding:0;text-align:center;font-size:12px;"
    "line-height:16px}\n"
    ".legend span{display:inline-block;padding:2px 8px;margin:2px;font-size:12px}\n";
// Read below the rule, which the text report shares.
const char* const CELLS_EXPLAINED = "In jedem Feld steht die Aufgabe, darunter ein Zeichen und wie "
                                    "oft sie gelöst wurde von wie oft sie kam.";

void WriteCell(std::FILE* pOut, const FactKey& fact, const SPlayerReport& player) {
    const auto found = player.facts.find(fact);
    SJudgement judgement{JUDGED_NEVER, 0, 0, 0, 0, -1.0f};
    if (found != player.facts.end()) {
        judgement = JudgeFact(found->second, player.fMedianSeconds);
    }
    const int iLevel = CellLevel(judgement);
    std::fprintf(pOut, "<td class=\"c%d\">%d × %d", iLevel, fact.first, fact.second);
    if (iLevel != CELL_NEVER) {
        std::fprintf(pOut, "<br>%s %d/%d", CellSign(iLevel), judgement.iSolved,
                     judgement.iAttempts);
    }
    std::fputs("</td>", pOut);
}

void WriteGrid(std::FILE* pOut, const SPlayerReport& player) {
    std::fputs(
        "<table class=\"grid\">\n<caption>Das Einmaleins bis 10 × 10</caption>\n<tr><th>×</th>",
        pOut);
    for (int b = 1; b <= GRID_SIZE; ++b) {
        std::fprintf(pOut, "<th>%d</th>", b);
    }
    std::fputs("</tr>\n", pOut);
    for (int a = 1; a <= GRID_SIZE; ++a) {
        std::fprintf(pOut, "<tr><th>%d</th>", a);
        for (int b = 1; b <= GRID_SIZE; ++b) {
            WriteCell(pOut, FactKey(a, b), player);
        }
        std::fputs("</tr>\n", pOut);
    }
    std::fputs("</table>\n", pOut);
}

// The facts beyond 10 x 10 that need practice.
void WriteLargerFacts(std::FILE* pOut, const SPlayerReport& player) {
    std::fputs("<h3>Größere Aufgaben, die Übung brauchen</h3>\n", pOut);
    int iListed = 0;
    for (const auto& [fact, attempts] : player.facts) {
        if (fact.first <= GRID_SIZE && fact.second <= GRID_SIZE) {
            continue;
        }
        const SJudgement judgement = JudgeFact(attempts, player.fMedianSeconds);
        if (judgement.iJudged == JUDGED_PRACTICE) {
            std::fprintf(pOut, "%s<li>%s</li>\n", iListed == 0 ? "<ul>\n" : "",
                         FactLine(fact, judgement).c_str());
            ++iListed;
        }
    }
    std::fputs(iListed == 0 ? "<p>Keine.</p>\n" : "</ul>\n", pOut);
}

void WritePlayer(std::FILE* pOut, const SPlayerReport& player) {
    const int* pOutcomes = player.aiOutcomes;
    std::fprintf(pOut, "<section>\n<h2>%s</h2>\n", HtmlEscape(player.strName).c_str());
    std::fprintf(pOut,
                 "<p>Spiele: %d, davon %d nicht zu Ende gespielt.<br>Äpfel: %d gelöst, %d auf "
                 "einem Pferd gelandet, %d zwischen den Pferden gefallen, %d beim Spielende noch "
                 "im Fall.<br>Antworten, die keinen Apfel lösten: %d. Mittlere Lösezeit: "
                 "%s.</p>\n",
                 player.iGames, player.iUnfinished, pOutcomes[OUTCOME_SOLVED],
                 pOutcomes[OUTCOME_LANDED], pOutcomes[OUTCOME_FELL], pOutcomes[OUTCOME_FALLING],
                 player.iMisses, GermanSeconds(player.fMedianSeconds).c_str());
    WriteGrid(pOut, player);
    WriteLargerFacts(pOut, player);
    std::fputs("</section>\n", pOut);
}

void WriteLegend(std::FILE* pOut) {
    std::fputs("<p class=\"legend\">Farben und Zeichen:", pOut);
    for (int iLevel = 0; iLevel < CELL_LEVELS; ++iLevel) {
        std::fprintf(pOut, " <span class=\"c%d\">%s %s</span>", iLevel, CellSign(iLevel),
                     CellMeaning(iLevel));
    }
    std::fputs("</p>\n", pOut);
}
} // namespace

void CReport::WriteHtml(std::FILE* pOut, std::time_t made) const {
    std::fputs(PAGE_START, pOut);
    for (int iLevel = 0; iLevel < CELL_LEVELS; ++iLevel) {
        std::fprintf(pOut, ".c%d{background:%s;color:%s}\n", iLevel, CellBackground(iLevel),
                     CellForeground(iLevel));
    }
    char szMade[32];
    FormatUtc(made, szMade, sizeof(szMade));
    std::fprintf(pOut,
                 "</style>\n</head>\n<body>\n<h1>Lernbericht Zentaris</h1>\n"
                 "<p>Stand: %s (UTC)</p>\n",
                 szMade);
    std::fprintf(pOut, "<p>%s %s</p>\n", REPORT_RULE, CELLS_EXPLAINED);
    if (m_Players.empty()) {
        std::fprintf(pOut, "<p>%s</p>\n", NOTHING_RECORDED);
    }
    for (const SPlayerReport& player : m_Players) {
        WritePlayer(pOut, player);
    }
    WriteLegend(pOut);
    std::fputs("</body>\n</html>\n", pOut);
}
