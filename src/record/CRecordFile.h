#pragma once
// The record file, "score/record.db" beside the score table: every game played and every apple
// of it, kept apart from the score table so that it can be read, forgotten or deleted alone.

#include <string>
#include <vector>

#include <sqlite3.h>

#include "record/RecordTask.h"

// Where the game keeps its record, relative to its working directory, next to the score table.
inline constexpr char RECORD_PATH[] = "score/record.db";

// One game as the record keeps it.
struct SRecordGame {
    long long iId;          // row id; set when read back
    std::string strPlayer;  // as the score table stores it
    std::string strStarted; // ISO 8601 UTC
    int iRange;             // 10, 20 or 99 when the game began
    char cOperation;        // 'x' or ':' when the game began
    int iScore;
    bool bFinished; // false: left during play
    int iMisses;    // answers that solved nothing
};

// How the record is opened. A missing file is made only for writing; otherwise it reads as an
// empty record.
enum { RECORD_READ = 0, RECORD_WRITE = 1, RECORD_CHANGE = 2 };

class CRecordFile {
public:
    CRecordFile();
    ~CRecordFile();
    CRecordFile(const CRecordFile&) = delete;
    CRecordFile& operator=(const CRecordFile&) = delete;

    bool Open(const char* pPath, int iMode);
    void Close();

    // Stores the game and its apples in one transaction.
    bool WriteGame(const SRecordGame& game, const std::vector<SRecordApple>& apples);
    // The games of the player (of everyone for null), oldest first, and their apples in the
    // order they were recorded.
    bool Read(const char* pPlayer, std::vector<SRecordGame>& games,
              std::vector<SRecordApple>& apples);
    // Deletes the player's games and apples; how many games went in iGames.
    bool Forget(const char* pPlayer, int& iGames);

    sqlite3* m_pDB;         // null while closed, and for a record file that does not exist yet
    std::string m_strError; // the last failure, one line

private:
    bool Exec(const char* pSql);
    // PRAGMA user_version: 0 for a file without the record's tables, -1 when unreadable.
    int Version();
    bool Prepare(const char* pSql, sqlite3_stmt*& pStatement);
    int Step(sqlite3_stmt* pStatement);
    bool MakeSchema();
    bool ReadGames(sqlite3_stmt* pStatement, std::vector<SRecordGame>& games);
    bool ReadApples(sqlite3_stmt* pStatement, std::vector<SRecordApple>& apples);
    // Ends the transaction: commits when all went well, else rolls back.
    bool Finish(bool bDone);
};
