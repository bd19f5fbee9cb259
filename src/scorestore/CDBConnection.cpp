#include "scorestore/CDBConnection.h"

int c_callback(void*, int, char**, char**) { return 0; }
CDBConnection::CDBConnection() : m_pDB(nullptr) {}
CDBConnection::~CDBConnection() {}
bool CDBConnection::OpenDB(const char*) { return false; }
std::string CDBConnection::SanitizeText(std::string text) { return text; }
bool CDBConnection::WriteScore(std::string, int) { return false; }
HighScoreRows CDBConnection::ReadHighScore() { return m_Rows; }
int CDBConnection::callback(int, char**, char**) { return 0; }
