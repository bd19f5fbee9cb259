#include "record/CRecordFile.h"

#include <filesystem>
#include <system_error>

namespace {
// The layout this release writes. A later release that changes it raises the number and
// migrates files of an older one; this release reads and writes only its own.
const int SCHEMA_VERSION = 1;

// Made in the first transaction that writes to a new file.
const char* const SCHEMA = "CREATE TABLE games ("
                           " id INTEGER PRIMARY KEY,"
                           " player TEXT NOT NULL,"
                           " started TEXT NOT NULL,"
                           " task_range INTEGER NOT NULL,"
                           " operation TEXT NOT NULL,"
                           " score INTEGER NOT NULL,"
                           " finished INTEGER NOT NULL,"
                           " misses INTEGER NOT NULL);"
                           "CREATE TABLE apples ("
                           " id INTEGER PRIMARY KEY,"
                           " game INTEGER NOT NULL REFERENCES games(id),"
                           " shown_left INTEGER NOT NULL,"
                           " operation TEXT NOT NULL,"
                           " shown_right INTEGER NOT NULL,"
                           " fact_a INTEGER NOT NULL,"
                           " fact_b INTEGER NOT NULL,"
                           " outcome TEXT NOT NULL,"
                           " seconds REAL NOT NULL);"
                           "CREATE INDEX games_by_player ON games(player);"
                           "CREATE INDEX apples_by_game ON apples(game);"
                           "PRAGMA user_version = 1;";

const char* const INSERT_GAME = "INSERT INTO games(player, started, task_range, operation, score,"
                                " finished, misses) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";
const char* const INSERT_APPLE = "INSERT INTO apples(game, shown_left, operation, shown_right,"
                                 " fact_a, fact_b, outcome, seconds)"
                                 " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)";
const char* const SELECT_GAMES = "SELECT id, player, started, task_range, operation, score,"
                                 " finished, misses FROM games"
                                 " WHERE ?1 IS NULL OR player = ?1 ORDER BY id";
const char* const SELECT_ALL_APPLES = "SELECT game, shown_left, operation, shown_right, fact_a,"
                                      " fact_b, outcome, seconds FROM apples ORDER BY id";
const char* const SELECT_PLAYER_APPLES =
    "SELECT a.game, a.shown_left, a.operation, a.shown_right, a.fact_a, a.fact_b, a.outcome,"
    " a.seconds FROM apples a JOIN games g ON g.id = a.game WHERE g.player = ?1 ORDER BY a.id";
const char* const DELETE_APPLES =
    "DELETE FROM apples WHERE game IN (SELECT id FROM games WHERE player = ?1)";
const char* const DELETE_GAMES = "DELETE FROM games WHERE player = ?1";

// How long a statement waits for a lock that another program holds, in milliseconds. The game
// writes when a game ends, and must not stall there; a report may wait for that write.
const int WRITE_LOCK_WAIT_MS = 200;
const int READ_LOCK_WAIT_MS = 2000;

// A FIFO, a device or a directory at the path, or where SQLite keeps its journal and its
// write-ahead files, would block the open or the first read for good: such a record is not
// used. A missing file is fine.
bool OnlyRegularFiles(const std::string& strPath) {
    for (const char* pSuffix : {"", "-journal", "-wal", "-shm"}) {
        std::error_code error;
        const std::filesystem::file_status status =
            std::filesystem::status(strPath + pSuffix, error);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
            return false;
        }
    }
    return true;
}

void MakeParentDirectory(const char* pPath) {
    const std::filesystem::path parent = std::filesystem::path(pPath).parent_path();
    std::error_code error;
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, error);
    }
}

const char* ColumnText(sqlite3_stmt* pStatement, int iColumn) {
    const unsigned char* pText = sqlite3_column_text(pStatement, iColumn);
    return pText != nullptr ? reinterpret_cast<const char*>(pText) : "";
}

void BindText(sqlite3_stmt* pStatement, int iParameter, const char* pText) {
    if (pText == nullptr) {
        sqlite3_bind_null(pStatement, iParameter);
    } else {
        sqlite3_bind_text(pStatement, iParameter, pText, -1, SQLITE_TRANSIENT);
    }
}
} // namespace

CRecordFile::CRecordFile() : m_pDB(nullptr) {}

CRecordFile::~CRecordFile() {
    Close();
}

bool CRecordFile::Open(const char* pPath, int iMode) {
    Close();
    if (!OnlyRegularFiles(pPath)) {
        m_strError = "keine gewöhnliche Datei";
        return false;
    }
    std::error_code error;
    if (iMode != RECORD_WRITE && !std::filesystem::exists(pPath, error)) {
        return true;
    }
    if (iMode == RECORD_WRITE) {
        MakeParentDirectory(pPath);
    }
    const int iFlags = iMode == RECORD_READ    ? SQLITE_OPEN_READONLY
                       : iMode == RECORD_WRITE ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                               : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(pPath, &m_pDB, iFlags, nullptr) != SQLITE_OK) {
        m_strError = sqlite3_errmsg(m_pDB);
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_pDB, iMode == RECORD_READ ? READ_LOCK_WAIT_MS : WRITE_LOCK_WAIT_MS);
    return true;
}

void CRecordFile::Close() {
    if (m_pDB != nullptr) {
        sqlite3_close(m_pDB);
        m_pDB = nullptr;
    }
}

bool CRecordFile::WriteGame(const SRecordGame& game, const std::vector<SRecordApple>& apples) {
    m_strError.clear();
    if (m_pDB == nullptr || !Exec("BEGIN IMMEDIATE")) {
        return false;
    }
    sqlite3_stmt* pGame = nullptr;
    sqlite3_stmt* pApple = nullptr;
    bool bDone = MakeSchema() && Prepare(INSERT_GAME, pGame) && Prepare(INSERT_APPLE, pApple);
    if (bDone) {
        BindText(pGame, 1, game.strPlayer.c_str());
        BindText(pGame, 2, game.strStarted.c_str());
        sqlite3_bind_int(pGame, 3, game.iRange);
        sqlite3_bind_text(pGame, 4, &game.cOperation, 1, SQLITE_TRANSIENT);
        sqlite3_bind_int(pGame, 5, game.iScore);
        sqlite3_bind_int(pGame, 6, game.bFinished ? 1 : 0);
        sqlite3_bind_int(pGame, 7, game.iMisses);
        bDone = Step(pGame) == SQLITE_DONE;
    }
    const sqlite3_int64 iGame = sqlite3_last_insert_rowid(m_pDB);
    for (std::size_t i = 0; bDone && i < apples.size(); ++i) {
        const SRecordApple& apple = apples[i];
        sqlite3_reset(pApple);
        sqlite3_bind_int64(pApple, 1, iGame);
        sqlite3_bind_int(pApple, 2, apple.iLeft);
        sqlite3_bind_text(pApple, 3, &apple.cOperation, 1, SQLITE_TRANSIENT);
        sqlite3_bind_int(pApple, 4, apple.iRight);
        sqlite3_bind_int(pApple, 5, apple.iFactA);
        sqlite3_bind_int(pApple, 6, apple.iFactB);
        BindText(pApple, 7, OutcomeCode(apple.iOutcome));
        sqlite3_bind_double(pApple, 8, apple.fSeconds);
        bDone = Step(pApple) == SQLITE_DONE;
    }
    sqlite3_finalize(pGame);
    sqlite3_finalize(pApple);
    return Finish(bDone);
}

bool CRecordFile::Read(const char* pPlayer, std::vector<SRecordGame>& games,
                       std::vector<SRecordApple>& apples) {
    m_strError.clear();
    games.clear();
    apples.clear();
    // A record that was never written holds nothing.
    if (m_pDB == nullptr) {
        return true;
    }
    // One read transaction: the games and the apples are seen as of one moment.
    if (!Exec("BEGIN")) {
        return false;
    }
    const int iVersion = Version();
    if (iVersion != SCHEMA_VERSION) {
        return Finish(iVersion == 0);
    }
    sqlite3_stmt* pGames = nullptr;
    sqlite3_stmt* pApples = nullptr;
    const char* pSelectApples = pPlayer == nullptr ? SELECT_ALL_APPLES : SELECT_PLAYER_APPLES;
    bool bDone = Prepare(SELECT_GAMES, pGames) && Prepare(pSelectApples, pApples);
    if (bDone) {
        BindText(pGames, 1, pPlayer);
        BindText(pApples, 1, pPlayer);
        bDone = ReadGames(pGames, games) && ReadApples(pApples, apples);
    }
    sqlite3_finalize(pGames);
    sqlite3_finalize(pApples);
    return Finish(bDone);
}

bool CRecordFile::Forget(const char* pPlayer, int& iGames) {
    m_strError.clear();
    iGames = 0;
    if (m_pDB == nullptr) {
        return true;
    }
    // Deleted rows are overwritten with zeros, not only unlinked.
    if (!Exec("PRAGMA secure_delete = ON") || !Exec("BEGIN IMMEDIATE")) {
        return false;
    }
    const int iVersion = Version();
    if (iVersion != SCHEMA_VERSION) {
        return Finish(iVersion == 0);
    }
    sqlite3_stmt* pApples = nullptr;
    sqlite3_stmt* pGames = nullptr;
    bool bDone = Prepare(DELETE_APPLES, pApples) && Prepare(DELETE_GAMES, pGames);
    if (bDone) {
        BindText(pApples, 1, pPlayer);
        BindText(pGames, 1, pPlayer);
        bDone = Step(pApples) == SQLITE_DONE && Step(pGames) == SQLITE_DONE;
        iGames = sqlite3_changes(m_pDB);
    }
    sqlite3_finalize(pApples);
    sqlite3_finalize(pGames);
    return Finish(bDone);
}

bool CRecordFile::Exec(const char* pSql) {
    if (sqlite3_exec(m_pDB, pSql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        m_strError = sqlite3_errmsg(m_pDB);
        return false;
    }
    return true;
}

bool CRecordFile::Prepare(const char* pSql, sqlite3_stmt*& pStatement) {
    if (sqlite3_prepare_v2(m_pDB, pSql, -1, &pStatement, nullptr) != SQLITE_OK) {
        m_strError = sqlite3_errmsg(m_pDB);
        return false;
    }
    return true;
}

int CRecordFile::Step(sqlite3_stmt* pStatement) {
    const int iResult = sqlite3_step(pStatement);
    if (iResult != SQLITE_ROW && iResult != SQLITE_DONE) {
        m_strError = sqlite3_errmsg(m_pDB);
    }
    return iResult;
}

int CRecordFile::Version() {
    sqlite3_stmt* pStatement = nullptr;
    int iVersion = -1;
    if (Prepare("PRAGMA user_version", pStatement) && Step(pStatement) == SQLITE_ROW) {
        iVersion = sqlite3_column_int(pStatement, 0);
    }
    sqlite3_finalize(pStatement);
    if (iVersion > SCHEMA_VERSION) {
        m_strError = "von einer neueren Version von Zentaris geschrieben";
    }
    return iVersion;
}

bool CRecordFile::MakeSchema() {
    const int iVersion = Version();
    if (iVersion == 0) {
        return Exec(SCHEMA);
    }
    return iVersion == SCHEMA_VERSION;
}

bool CRecordFile::ReadGames(sqlite3_stmt* pStatement, std::vector<SRecordGame>& games) {
    int iStep = SQLITE_ROW;
    while ((iStep = Step(pStatement)) == SQLITE_ROW) {
        SRecordGame game;
        game.iId = sqlite3_column_int64(pStatement, 0);
        game.strPlayer = ColumnText(pStatement, 1);
        game.strStarted = ColumnText(pStatement, 2);
        game.iRange = sqlite3_column_int(pStatement, 3);
        game.cOperation = ColumnText(pStatement, 4)[0];
        game.iScore = sqlite3_column_int(pStatement, 5);
        game.bFinished = sqlite3_column_int(pStatement, 6) != 0;
        game.iMisses = sqlite3_column_int(pStatement, 7);
        games.push_back(game);
    }
    return iStep == SQLITE_DONE;
}

bool CRecordFile::ReadApples(sqlite3_stmt* pStatement, std::vector<SRecordApple>& apples) {
    int iStep = SQLITE_ROW;
    while ((iStep = Step(pStatement)) == SQLITE_ROW) {
        SRecordApple apple;
        apple.iGame = sqlite3_column_int64(pStatement, 0);
        apple.iLeft = sqlite3_column_int(pStatement, 1);
        apple.cOperation = ColumnText(pStatement, 2)[0];
        apple.iRight = sqlite3_column_int(pStatement, 3);
        apple.iFactA = sqlite3_column_int(pStatement, 4);
        apple.iFactB = sqlite3_column_int(pStatement, 5);
        apple.iOutcome = OutcomeOfCode(ColumnText(pStatement, 6));
        apple.fSeconds = static_cast<float>(sqlite3_column_double(pStatement, 7));
        // An outcome that a later release may add is left out.
        if (apple.iOutcome >= 0) {
            apples.push_back(apple);
        }
    }
    return iStep == SQLITE_DONE;
}

bool CRecordFile::Finish(bool bDone) {
    if (bDone && Exec("COMMIT")) {
        return true;
    }
    // The text of the failure is kept; the rollback's own result does not matter.
    sqlite3_exec(m_pDB, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}
