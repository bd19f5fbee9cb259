#pragma once
// The table of finished games in "score/scores.db" and the best three of them.

#include <string>
#include <utility>
#include <vector>

#include <sqlite3.h>

#include "framework/TSingleton.h"

using HighScoreRows = std::vector<std::pair<std::string, std::string>>;

int c_callback(void* self, int argc, char** argv, char** colNames);

class CDBConnection : public TSingleton<CDBConnection> {
public:
    CDBConnection();
    ~CDBConnection() override;

    bool OpenDB(const char* path);
    std::string SanitizeText(std::string text);
    bool WriteScore(std::string name, int score);
    HighScoreRows ReadHighScore();
    int callback(int argc, char** argv, char** colNames);

    sqlite3* m_pDB;
    HighScoreRows m_Rows;
};
