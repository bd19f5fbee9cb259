#include "record/ReportRules.h"

#include <algorithm>
#include <cstdio>

#include "record/RecordTask.h"

namespace {
// Background, text colour, sign and meaning of each cell level.
const char* const BACKGROUNDS[CELL_LEVELS] = {"#f2f2f2", "#d0d0d0", "#2166ac", "#fdb863",
                                              "#b35806"};
const char* const FOREGROUNDS[CELL_LEVELS] = {"#555555", "#222222", "#ffffff", "#222222",
                                              "#ffffff"};
const char* const SIGNS[CELL_LEVELS] = {"", "?", "✓", "!", "!!"};
const char* const MEANINGS[CELL_LEVELS] = {"noch nicht vorgekommen", "noch nicht beurteilt",
                                           "sitzt", "üben", "viel üben"};
} // namespace

SJudgement JudgeFact(const std::vector<SAttempt>& attempts, float fPlayerMedian) {
    SJudgement judgement{JUDGED_NEVER, 0, 0, 0, 0, -1.0f};
    std::vector<float> solvedSeconds;
    std::vector<bool> solved;
    for (const SAttempt& attempt : attempts) {
        if (attempt.iOutcome == OUTCOME_FALLING) {
            continue;
        }
        solved.push_back(attempt.iOutcome == OUTCOME_SOLVED);
        if (attempt.iOutcome == OUTCOME_SOLVED) {
            solvedSeconds.push_back(attempt.fSeconds);
        }
    }
    judgement.iAttempts = static_cast<int>(solved.size());
    judgement.iSolved = static_cast<int>(solvedSeconds.size());
    judgement.iRecent = std::min(judgement.iAttempts, RECENT_ATTEMPTS);
    judgement.iRecentSolved =
        static_cast<int>(std::count(solved.end() - judgement.iRecent, solved.end(), true));
    judgement.fMedianSeconds = Median(solvedSeconds);
    if (judgement.iAttempts == 0) {
        return judgement;
    }
    const bool bMissedLately = judgement.iRecentSolved < judgement.iRecent;
    const bool bSlow =
        fPlayerMedian > 0.0f && judgement.fMedianSeconds > SLOW_FACTOR * fPlayerMedian;
    if (judgement.iAttempts < MIN_ATTEMPTS) {
        judgement.iJudged = JUDGED_NOT_YET;
    } else if (bMissedLately || bSlow) {
        judgement.iJudged = JUDGED_PRACTICE;
    } else {
        judgement.iJudged = JUDGED_KNOWN;
    }
    return judgement;
}

float Median(std::vector<float> values) {
    if (values.empty()) {
        return -1.0f;
    }
    std::sort(values.begin(), values.end());
    const std::size_t uMiddle = values.size() / 2;
    if (values.size() % 2 == 1) {
        return values[uMiddle];
    }
    return (values[uMiddle - 1] + values[uMiddle]) / 2.0f;
}

int CellLevel(const SJudgement& judgement) {
    switch (judgement.iJudged) {
    case JUDGED_NOT_YET:
        return CELL_NOT_YET;
    case JUDGED_KNOWN:
        return CELL_KNOWN;
    case JUDGED_PRACTICE:
        return 2 * judgement.iRecentSolved <= judgement.iRecent ? CELL_MUCH_PRACTICE
                                                                : CELL_PRACTICE;
    default:
        return CELL_NEVER;
    }
}

const char* CellBackground(int iLevel) {
    return BACKGROUNDS[iLevel];
}

const char* CellForeground(int iLevel) {
    return FOREGROUNDS[iLevel];
}

const char* CellSign(int iLevel) {
    return SIGNS[iLevel];
}

const char* CellMeaning(int iLevel) {
    return MEANINGS[iLevel];
}

std::string CsvField(const std::string& strText) {
    std::string strField = strText;
    if (!strField.empty() && std::string("=+-@\t\r").find(strField[0]) != std::string::npos) {
        strField.insert(0, 1, '\'');
    }
    if (strField.find_first_of(",\"\r\n") == std::string::npos) {
        return strField;
    }
    std::string strQuoted = "\"";
    for (const char c : strField) {
        strQuoted += c;
        if (c == '"') {
            strQuoted += '"';
        }
    }
    return strQuoted + "\"";
}

std::string HtmlEscape(const std::string& strText) {
    std::string strEscaped;
    strEscaped.reserve(strText.size());
    for (const char c : strText) {
        switch (c) {
        case '&':
            strEscaped += "&amp;";
            break;
        case '<':
            strEscaped += "&lt;";
            break;
        case '>':
            strEscaped += "&gt;";
            break;
        case '"':
            strEscaped += "&quot;";
            break;
        case '\'':
            strEscaped += "&#39;";
            break;
        default:
            strEscaped += c;
            break;
        }
    }
    return strEscaped;
}

std::string GermanSeconds(float fSeconds) {
    if (fSeconds < 0.0f) {
        return "–";
    }
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%.1f s", static_cast<double>(fSeconds));
    std::string strText = szText;
    std::replace(strText.begin(), strText.end(), '.', ',');
    return strText;
}
