#pragma once
// What the record keeps of one apple, and the plain rules that turn an apple on the field into
// it: the task as shown, the multiplication fact behind it, and its time in the air.

#include <cstddef>
#include <ctime>

// What became of an apple. The names are the codes stored in the record.
enum {
    OUTCOME_SOLVED = 0,  // "solved": an answer solved it
    OUTCOME_LANDED = 1,  // "landed": it landed on a horse
    OUTCOME_FELL = 2,    // "fell": it fell out between the horses
    OUTCOME_FALLING = 3, // "falling": still falling when the game ended
    OUTCOME_COUNT = 4
};

// One apple of a game. A division p : b = a asks the fact a x b.
struct SRecordApple {
    long long iGame; // row id of its game; set when read back
    int iLeft;       // the numbers and the operation as the apple showed them
    char cOperation; // 'x' or ':'
    int iRight;
    int iFactA;
    int iFactB;
    int iOutcome;
    float fSeconds; // from its appearance to its outcome
};

// Reads a task text such as "7 x 8" or "56 : 8" into the apple's first five fields; false when
// the text is no task.
bool ReadShownTask(const char* pText, SRecordApple& apple);

// Seconds an apple at this top edge has been in the air: apples start at y -60 and fall 20
// pixels a second of play, and stand still while the help page is open, so time spent there
// does not count.
float SecondsInAir(float fYPos);

// "solved", "landed", "fell", "falling"; -1 and nullptr for anything else.
const char* OutcomeCode(int iOutcome);
int OutcomeOfCode(const char* pCode);

// The time as ISO 8601 in UTC, "2026-12-07T14:03:05Z", into a buffer of at least 21 bytes.
void FormatUtc(std::time_t when, char* pBuffer, std::size_t size);
