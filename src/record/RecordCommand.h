#pragma once
// The report options of the command line, answered on the record in the working directory
// without any window or SDL set-up.

#include <cstdio>

struct CCommandLine;

// --report, --report-html, --report-csv or --forget. Returns the exit status: 0, or 1 when the
// record cannot be read or changed or the output cannot be written, after one German line on
// pErr. Closes pOut.
int RunRecordCommand(const CCommandLine& commandLine, std::FILE* pOut, std::FILE* pErr);
