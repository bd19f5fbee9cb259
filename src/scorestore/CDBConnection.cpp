#include "scorestore/CDBConnection.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include <sys/resource.h>

#include <SDL.h>
#include <sqlite3.h>

#include "framework/CMyError.h"

namespace {

// The tab runs belong to the text: they end up in the schema the database keeps.
constexpr char CREATE_STATEMENT[] = "create table if not exists scores "
                                    "\t\t\t\t\t\t\t"
                                    "   ( id INTEGER PRIMARY KEY, "
                                    "\t\t\t\t\t\t\t\t\t\t"
                                    " name TEXT, "
                                    "\t\t\t\t\t\t\t\t\t\t\t\t\t"
                                    " score INTEGER DEFAULT 0 "
                                    "\t\t\t\t\t\t\t\t\t\t"
                                    ")";
static_assert(sizeof(CREATE_STATEMENT) - 1 == 141, "the creating statement is 141 characters");

constexpr char STORE_START[] = "insert into scores(name,score) values('";
constexpr char STORE_MIDDLE[] = "',";
constexpr char STORE_END[] = ");";
constexpr char READ_STATEMENT[] = "select name, score from scores order by score desc limit 3;";

constexpr char FALLBACK_NAME[] = "Keine Highscore Anzeige!";
constexpr char FALLBACK_SCORE[] = "Fehler";
constexpr char EMPTY_NAME[] = "noname";

constexpr char REPORT_FORMAT[] = "Datenbankfehler: %s";
constexpr char DETAIL_OPEN[] = "SQLite Datenbankfehler";
constexpr char DETAIL_CREATE[] = "Kann Datenbanktabelle nicht anlegen";
constexpr char DETAIL_WRITE[] = "Kann Highscore nicht schreiben";
constexpr char DETAIL_READ[] = "Kann Highscore nicht ermitteln";

// How long a statement waits for a lock another program holds on the file before it fails, in
// milliseconds: long enough for another program's short write, short enough that play goes on.
constexpr int LOCK_WAIT_MS = 2000;

// Screen texts are cut at 19 bytes.
constexpr int ROW_TEXT_SIZE = 20;

// Database failures only go to standard error: the game goes on without stored scores.
void ReportDatabaseError(const char* pSqliteText, const char* pDetail) {
    char szText[CMyError::BUFFER_SIZE];
    SDL_snprintf(szText, sizeof(szText), REPORT_FORMAT, pSqliteText != nullptr ? pSqliteText : "");
    CMyError::PrintError(szText, pDetail, true);
}

// SQLite tells a write past the process's file-size limit as a plain I/O error; to the player it
// is a full disk, and is told so.
bool IsPastFileSizeLimit(sqlite3* pDB) {
    rlimit limit{};
    return sqlite3_extended_errcode(pDB) == SQLITE_IOERR_WRITE &&
           getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
}

// Reports a failed sqlite3_exec and releases its error text, which the caller owns.
void ReportExecError(sqlite3* pDB, char* pError, const char* pDetail) {
    const char* pText = pError != nullptr ? pError : sqlite3_errmsg(pDB);
    if (IsPastFileSizeLimit(pDB)) {
        pText = sqlite3_errstr(SQLITE_FULL);
    }
    ReportDatabaseError(pText, pDetail);
    sqlite3_free(pError);
}

// A missing "score" directory would lose the score of every game, so it is made before the
// open; if that is impossible the open fails and reports it.
void MakeParentDirectory(const char* pPath) {
    if (pPath == nullptr) {
        return;
    }
    const std::filesystem::path parent = std::filesystem::path(pPath).parent_path();
    if (parent.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(parent, error);
}

// A FIFO, a device or a directory at the path, or at one of the files SQLite keeps beside it,
// is no database: opening a FIFO would block the game for good, before SQLite could say
// anything. Links are followed; a missing file is made by the open.
bool IsNoDatabaseFile(const char* pPath) {
    for (const char* pSuffix : {"", "-journal", "-wal", "-shm"}) {
        std::error_code error;
        const std::filesystem::file_status status =
            std::filesystem::status(std::string(pPath) + pSuffix, error);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
            return true;
        }
    }
    return false;
}

bool IsKeptNameByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ';
}

} // namespace

int c_callback(void* self, int argc, char** argv, char** colNames) {
    return static_cast<CDBConnection*>(self)->callback(argc, argv, colNames);
}

CDBConnection::CDBConnection() : m_pDB(nullptr) {}

CDBConnection::~CDBConnection() {
    if (m_pDB != nullptr) {
        sqlite3_close(m_pDB);
        m_pDB = nullptr;
    }
}

bool CDBConnection::OpenDB(const char* path) {
    if (m_pDB != nullptr) {
        sqlite3_close(m_pDB);
        m_pDB = nullptr;
    }
    MakeParentDirectory(path);
    if (path != nullptr && IsNoDatabaseFile(path)) {
        ReportDatabaseError(sqlite3_errstr(SQLITE_CANTOPEN), DETAIL_OPEN);
        return false;
    }
    if (sqlite3_open(path, &m_pDB) != SQLITE_OK) {
        // The text lives in the handle: copy it before the handle is closed.
        const std::string strError = sqlite3_errmsg(m_pDB);
        if (sqlite3_close(m_pDB) == SQLITE_OK) {
            m_pDB = nullptr;
        }
        ReportDatabaseError(strError.c_str(), DETAIL_OPEN);
        return false;
    }
    sqlite3_busy_timeout(m_pDB, LOCK_WAIT_MS);
    char* pError = nullptr;
    if (sqlite3_exec(m_pDB, CREATE_STATEMENT, nullptr, nullptr, &pError) != SQLITE_OK) {
        ReportExecError(m_pDB, pError, DETAIL_CREATE);
    }
    return true;
}

// Only ASCII letters, digits and blanks survive, so no quote or other byte of the name can
// change the meaning of the store statement.
std::string CDBConnection::SanitizeText(std::string text) {
    std::string strClean;
    strClean.reserve(text.size());
    for (const char c : text) {
        if (IsKeptNameByte(c)) {
            strClean.push_back(c);
        }
    }
    if (strClean.empty()) {
        return EMPTY_NAME;
    }
    return strClean;
}

bool CDBConnection::WriteScore(std::string name, int score) {
    if (m_pDB == nullptr) {
        return false;
    }
    const std::string strStatement = STORE_START + SanitizeText(std::move(name)) + STORE_MIDDLE +
                                     std::to_string(score) + STORE_END;
    char* pError = nullptr;
    if (sqlite3_exec(m_pDB, strStatement.c_str(), nullptr, nullptr, &pError) != SQLITE_OK) {
        ReportExecError(m_pDB, pError, DETAIL_WRITE);
        return false;
    }
    return true;
}

HighScoreRows CDBConnection::ReadHighScore() {
    m_Rows.clear();
    if (m_pDB == nullptr) {
        m_Rows.emplace_back(FALLBACK_NAME, FALLBACK_SCORE);
        return m_Rows;
    }
    char* pError = nullptr;
    if (sqlite3_exec(m_pDB, READ_STATEMENT, c_callback, this, &pError) != SQLITE_OK) {
        ReportExecError(m_pDB, pError, DETAIL_READ);
        // Rows that arrived before the failure are not shown: the table is either whole or absent.
        m_Rows.clear();
        m_Rows.emplace_back(FALLBACK_NAME, FALLBACK_SCORE);
    }
    return m_Rows;
}

int CDBConnection::callback(int argc, char** argv, char** /*colNames*/) {
    if (argc != 2 || argv == nullptr) {
        return 0;
    }
    // Other programs may have written NULL: list an empty name and a score of 0.
    const char* pName = argv[0] != nullptr ? argv[0] : "";
    const long lScore = argv[1] != nullptr ? std::strtol(argv[1], nullptr, 10) : 0;

    char szName[ROW_TEXT_SIZE];
    char szScore[ROW_TEXT_SIZE];
    SDL_snprintf(szName, sizeof(szName), "%s", pName);
    SDL_snprintf(szScore, sizeof(szScore), ":   %07d", static_cast<int>(lScore));
    m_Rows.emplace_back(szName, szScore);
    return 0;
}
