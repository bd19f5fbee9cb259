#pragma once
// Each score-store test works in a fresh temporary directory of its own, talks to the database
// file also through a second connection of its own, and may make paths immutable (as root,
// permission bits do not stop writes).

#include <string>
#include <vector>

#include <gtest/gtest.h>

// One result row as texts; a NULL column reads as "<null>".
using SqlRow = std::vector<std::string>;

class ScoreStoreTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs statements on a connection of the test's own; fails the test if they fail.
    void ExecSql(const std::string& strPath, const std::string& strSql);
    std::vector<SqlRow> QuerySql(const std::string& strPath, const std::string& strSql);

    // Sets the immutable flag (undone in TearDown); false when the file system refuses.
    bool MakeImmutable(const std::string& strPath);

    // The two-line report the store writes to standard error.
    static std::string Report(const std::string& strSqliteText, const std::string& strDetail);

    std::string m_strDir;
    std::string m_strOldDir;
    std::vector<std::string> m_ImmutablePaths;
};

// Number of open descriptors of this process that refer to a file of that name.
int OpenDescriptorsOf(const std::string& strFileName);
