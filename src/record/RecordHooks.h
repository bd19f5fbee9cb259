#pragma once
// Where the game tells the record what happens: one call at each place where a game begins or
// ends, an apple meets its outcome or an answer solves nothing. Outside a game they do nothing.

class CApple;
class CGame;

// Play begins on a fresh field: from the start page, or with Return on the game-over page.
void RecordGameBegins(const CGame& game);
// iOutcome is one of OUTCOME_SOLVED, OUTCOME_LANDED, OUTCOME_FELL (record/RecordTask.h).
void RecordApple(const CApple& apple, int iOutcome);
void RecordMiss();
// The game ends, finished (both horses out) or left during play. The apples still in play are
// recorded as falling; the game is written under the name the score table stores.
void RecordGameEnds(const CGame& game, bool bFinished);
// The program ends: a game still in play is written as unfinished.
void RecordQuit(const CGame& game);
