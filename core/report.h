// The JSON report of quell1-batch: procedures, their conditions with origin
// and verdict, every error line with its place, and the time of each stage.
#pragma once
#include <string>

const int REPORT_SCHEMA = 1;

// Starts the clock and forgets earlier error records.
void ReportBegin(const char *program);
// Ends a stage ("load", "prove", "refute") at the time of the call.
void ReportStage(const char *name);
// The whole report as text, for the run that ended with exit status `status`.
std::string ReportText(int status);
// For a report on standard output: everything else printed there goes to
// standard error from now on, so that standard output holds the document only.
void ReportTakeStdout();
// Writes the report to `file` ("-": standard output) when file is not null;
// returns status, or 2 when the report could not be written.
int ReportEnd(const char *file, int status);
