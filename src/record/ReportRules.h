#pragma once
// The plain rules of the report: when a fact needs practice, how a cell of the grid looks, and
// how a text is written safely into a CSV field or an HTML page.

#include <string>
#include <vector>

// One apple of a fact, in the order the apples came.
struct SAttempt {
    int iOutcome;
    float fSeconds;
};

// A fact is judged once it came MIN_ATTEMPTS times. It needs practice when one of its last
// RECENT_ATTEMPTS was not solved, or when its median time to a solution is more than
// SLOW_FACTOR times the player's own median. An apple still falling at the end is no attempt.
constexpr int MIN_ATTEMPTS = 3;
constexpr int RECENT_ATTEMPTS = 5;
constexpr float SLOW_FACTOR = 2.0f;

enum { JUDGED_NEVER = 0, JUDGED_NOT_YET = 1, JUDGED_KNOWN = 2, JUDGED_PRACTICE = 3 };

struct SJudgement {
    int iJudged;
    int iAttempts;
    int iSolved;
    int iRecent;          // attempts among the last RECENT_ATTEMPTS
    int iRecentSolved;    // of those, solved
    float fMedianSeconds; // of the solved attempts; below 0 when none was solved
};

SJudgement JudgeFact(const std::vector<SAttempt>& attempts, float fPlayerMedian);

// The median; below 0 for no values.
float Median(std::vector<float> values);

// A cell of the 10 x 10 grid, from "never came" to "needs much practice": a blue-to-orange
// ramp that colour-blind readers can tell apart, and a sign for each level besides.
enum { CELL_NEVER = 0, CELL_NOT_YET, CELL_KNOWN, CELL_PRACTICE, CELL_MUCH_PRACTICE, CELL_LEVELS };

// Much practice: at most half of the recent attempts solved.
int CellLevel(const SJudgement& judgement);
const char* CellBackground(int iLevel);
const char* CellForeground(int iLevel);
const char* CellSign(int iLevel);
const char* CellMeaning(int iLevel);

// A CSV field (RFC 4180). A text that a spreadsheet would take for a formula (starting with =,
// +, -, @, a tab or a carriage return) gets a leading apostrophe.
std::string CsvField(const std::string& strText);

// The text with &, <, >, " and ' written as HTML entities.
std::string HtmlEscape(const std::string& strText);

// "7,4 s" (German decimal comma), or "–" for a time below 0.
std::string GermanSeconds(float fSeconds);
