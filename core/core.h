// Global state of a run, program loading, the debug log and the pipeline.
#pragma once
#include "../g.h"

// The scratch buffer of display texts (a cut text says so in its last line).
extern char sss[SSS_SIZE];

// A printer writes (appends) its whole text into the buffer it is given.
typedef void (*Printer)(Text *out);

// Loading.
void StartProg1(char *s0);                 // load program text or a file and parse it
// As StartProg1, but a file that cannot be read is an error naming it and
// nothing is loaded: returns 0 then, 1 otherwise.
int StartProg1Checked(char *s0);
// 1 for program text (it begins with "%" or "{") or a file that can be read.
int ProgramReadable(const char *s0);
char *FileRead(const char *fname);         // compressed text, caller frees; "" on error
// FileRead that also fills `lines` (when not null) with the line of the file
// where each kept character stood.
char *FileReadLines(const char *fname, LineTable *lines);
// The text of a file, n characters at buf, as FileReadLines makes it, in
// place (a NUL is put at the new end, so buf holds n+1 bytes): comment lines
// and white space removed, lines noted. *nul is set when NUL bytes were
// dropped. Returns the new length.
size_t ProgramTextCompress(char *buf, size_t n, LineTable *lines, int *nul);
char *CompressString(char *l);             // removes LF, TAB, SP; returns the new end
int FileReadable(const char *fname);       // 1 when the file can be opened for reading

// Debug log "vLog".
void LogFileOpen();
void Log(const char *title, Printer printer);
int LogIsOn();

// Empties the lists of the run (procedures, assumptions, sequents, the user
// axiom) and releases every record they held: the clear command, the cancel
// of an annotation question and the reset between fuzz inputs.
void RunClear();

// Pipeline (the second half of a run).
void StartProg0();
struct SequentList;
SequentList *AssumptionList2SequentList();
void SequentListPrint(Text *ss);

// Result file shared by the GUI's save/batch exit and the headless verifier.
void ResultTextBuild(Text *out);           // the whole result file text
int ResultFileWrite(const char *name);     // 1 written, 0 could not be written
// A loaded file that is a result file ("Procedures:" first) is read as its
// procedures: the start of them in text, which is cut before the remaining
// conditions. Any other text is returned unchanged.
char *ResultFileProcedures(char *text);

// Copies a text into sss, cutting it with a last line that says so.
char *SssSet(const char *text);
