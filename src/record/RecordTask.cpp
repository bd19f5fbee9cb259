#include "record/RecordTask.h"

#include <cstdio>
#include <cstring>

namespace {
const float SPAWN_Y = -60.0f;
const float FALL_SPEED = 20.0f; // pixels per second

const char* const OUTCOME_CODES[OUTCOME_COUNT] = {"solved", "landed", "fell", "falling"};
} // namespace

bool ReadShownTask(const char* pText, SRecordApple& apple) {
    int iLeft = 0;
    char cOperation = '\0';
    int iRight = 0;
    if (std::sscanf(pText, "%d %c %d", &iLeft, &cOperation, &iRight) != 3 || iRight <= 0) {
        return false;
    }
    if (cOperation == 'x') {
        apple.iFactA = iLeft;
    } else if (cOperation == ':') {
        apple.iFactA = iLeft / iRight;
    } else {
        return false;
    }
    apple.iLeft = iLeft;
    apple.cOperation = cOperation;
    apple.iRight = iRight;
    apple.iFactB = iRight;
    return true;
}

float SecondsInAir(float fYPos) {
    return (fYPos - SPAWN_Y) / FALL_SPEED;
}

const char* OutcomeCode(int iOutcome) {
    return iOutcome >= 0 && iOutcome < OUTCOME_COUNT ? OUTCOME_CODES[iOutcome] : nullptr;
}

int OutcomeOfCode(const char* pCode) {
    for (int i = 0; i < OUTCOME_COUNT && pCode != nullptr; ++i) {
        if (std::strcmp(pCode, OUTCOME_CODES[i]) == 0) {
            return i;
        }
    }
    return -1;
}

void FormatUtc(std::time_t when, char* pBuffer, std::size_t size) {
    std::tm utc{};
    gmtime_r(&when, &utc);
    std::strftime(pBuffer, size, "%Y-%m-%dT%H:%M:%SZ", &utc);
}
