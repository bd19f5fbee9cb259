#include "scorestore/ScoreStoreFixture.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <sqlite3.h>

#include "support/TestRuntime.h"

namespace fs = std::filesystem;

namespace {

bool SetImmutableFlag(const std::string& strPath, bool bOn) {
    const int fd = open(strPath.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    int iFlags = 0;
    bool bDone = ioctl(fd, FS_IOC_GETFLAGS, &iFlags) == 0;
    if (bDone) {
        iFlags = bOn ? (iFlags | FS_IMMUTABLE_FL) : (iFlags & ~FS_IMMUTABLE_FL);
        bDone = ioctl(fd, FS_IOC_SETFLAGS, &iFlags) == 0;
    }
    close(fd);
    return bDone;
}

int CollectRow(void* pRows, int argc, char** argv, char** /*colNames*/) {
    SqlRow row;
    for (int i = 0; i < argc; ++i) {
        row.emplace_back(argv[i] != nullptr ? argv[i] : "<null>");
    }
    static_cast<std::vector<SqlRow>*>(pRows)->push_back(row);
    return 0;
}

} // namespace

void ScoreStoreTest::SetUp() {
    m_strOldDir = fs::current_path().string();
    char szTemplate[] = "/tmp/zentaris-score-XXXXXX";
    ASSERT_NE(mkdtemp(szTemplate), nullptr);
    m_strDir = szTemplate;
    ASSERT_EQ(chdir(m_strDir.c_str()), 0);
}

void ScoreStoreTest::TearDown() {
    for (const std::string& strPath : m_ImmutablePaths) {
        SetImmutableFlag(strPath, false);
    }
    if (chdir(m_strOldDir.c_str()) == 0) {
        RemoveTree(m_strDir);
    }
}

void ScoreStoreTest::ExecSql(const std::string& strPath, const std::string& strSql) {
    sqlite3* pDB = nullptr;
    ASSERT_EQ(sqlite3_open(strPath.c_str(), &pDB), SQLITE_OK);
    char* pError = nullptr;
    const int iResult = sqlite3_exec(pDB, strSql.c_str(), nullptr, nullptr, &pError);
    EXPECT_EQ(iResult, SQLITE_OK) << (pError != nullptr ? pError : "") << " in: " << strSql;
    sqlite3_free(pError);
    sqlite3_close(pDB);
}

std::vector<SqlRow> ScoreStoreTest::QuerySql(const std::string& strPath, const std::string& strSql) {
    std::vector<SqlRow> rows;
    sqlite3* pDB = nullptr;
    EXPECT_EQ(sqlite3_open(strPath.c_str(), &pDB), SQLITE_OK);
    char* pError = nullptr;
    const int iResult = sqlite3_exec(pDB, strSql.c_str(), CollectRow, &rows, &pError);
    EXPECT_EQ(iResult, SQLITE_OK) << (pError != nullptr ? pError : "") << " in: " << strSql;
    sqlite3_free(pError);
    sqlite3_close(pDB);
    return rows;
}

bool ScoreStoreTest::MakeImmutable(const std::string& strPath) {
    if (!SetImmutableFlag(strPath, true)) {
        return false;
    }
    m_ImmutablePaths.push_back(strPath);
    return true;
}

std::string ScoreStoreTest::Report(const std::string& strSqliteText, const std::string& strDetail) {
    return "Datenbankfehler: " + strSqliteText + "\nFehler: " + strDetail + "\n";
}

int OpenDescriptorsOf(const std::string& strFileName) {
    int iCount = 0;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd", error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(entry.path(), linkError);
        if (!linkError && target.filename() == strFileName) {
            ++iCount;
        }
    }
    return iCount;
}
