// The X client: main window, popup boxes, dialogs, commands and the
// display text builders.
#pragma once
#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>
#include <X11/Xaw/Text.h>

#include "../core/core.h"
#include "../program/sentence.h"

const int POPUP_CAPACITY = 100;   // storage of popup boxes
const int NAV_DEPTH = 30;         // entries of the post-cond navigation stack
const int NAV_ENTRY_SIZE = 1000;
const int INPUT_SIZE = 10240;     // typed program text and answers
const int SELECT_SIZE = 2048;     // selections and file names
const int SCROLLBAR_ROOM = 16;    // what a scrollbar takes from a text area, about

// Main window (wmainbox.cpp, wmain.cpp).
extern Widget topLevel;
extern Widget wstart, wredisplay, wselect, wpost, wexpand, wassumption;
extern Widget wclear, wsave, wquit;
extern Widget wtext;
extern int state;
extern XawTextSelectType a[3];

void CreateMainBox();
void SetSensitiveFalse(int k);
void wQuit(Widget w, XtPointer client_data, XtPointer call_data);
// Builds the whole client under an opened application shell: main box,
// popup boxes and callbacks (steps 2 to 4 of start-up); used by main and tests.
void wBuildClient(Widget shell);
// Realises the client under its shell and gives every window the close
// protocol; sets the main window's minimum size from the laid-out buttons.
void wRealizeClient(Widget shell);
// Evaluates the command line left after toolkit options (step 7 of
// start-up). Returns -1 to enter the event loop, otherwise an exit status.
int wCommandLine(int argc, char **argv);

// Popup boxes (wcreate.cpp, wpopup.cpp, wdialog.cpp, winit.cpp).
struct PopupBox {
  Widget pshell, box, label, text, ok, cancel;
  Widget expand, prog, prepost, assump;
};
typedef PopupBox *PopupBoxPtr;
extern PopupBox popupBoxes[POPUP_CAPACITY];
extern int numberOfBoxes;
extern PopupBoxPtr wp1, wp2, wp3;
extern XawTextBlock textString;

int CreateReadBox();
int CreateListBox();
void wInit(int argc, char **argv);
void PopShell1(Widget tl, Widget pp, const char *s, const char *cont, const char *s1, const char *s2);
void PopShell2(Widget tl, Widget pp, const char *s, const char *cont, const char *s1, const char *s2);
void PopShell3(Widget tl, Widget pp, const char *s, const char *cont, const char *s1, const char *s2);
void popdown(Widget pp, Widget p);
void DialogDone(Widget w, XtPointer client_data, XtPointer call_data);
void Cancel(Widget w, XtPointer client_data, XtPointer call_data);
void DialogDone1(int i, Widget w, XtPointer client_data, XtPointer call_data);
// Read the selection / the whole text of a text widget into s (size bytes),
// white space removed; return the first character (0 when empty or refused).
char GetSelectedItem(char *s, Widget w, size_t size = SELECT_SIZE);
char GetInput(char *s, Widget w, size_t size = INPUT_SIZE);
void wCompressString(char *s);
void wSetLabel(Widget w, const char *label);          // sets a label resource
void wSetText(Widget w, const char *text);            // sets a text's string (null: "")
void wRelabelStart(const char *label);                // label with width 80, height 70
// The start button's label and the seven other buttons tell whether anything
// is loaded: "add-proc" and usable, or "start" and greyed out.
void wLoadedShow();
void wSetButton(Widget w, const char *label);         // label, grown to fit it
// Reads the whole text of a text widget, as it stands, into out.
void wTextRead(Widget w, Text *out);

// Sizes from the font in use (wfit.cpp). A prompt is wrapped to its box's
// width and the label made high enough; a label too large for its widget
// grows it; a text area gets scrollbars exactly when its text is larger
// (horizontal ones only when asked for).
int wWrapText(XFontStruct *f, const char *s, int width, Text *out);   // returns lines
void wSetPrompt(PopupBoxPtr p, const char *s);
void wFitLabel(Widget w);
void wScrollFit(Widget w, int horizontal);
void wKeepOnScreen(Widget shell);
void wMinimumSize(Widget shell);
// Window close, dialog keys and the mouse wheel (wwindow.cpp).
void wTranslationsAdd();

// What to select, shown where a selection names nothing.
extern const char *const hintProcedure;   // a procedure name from the list
extern const char *const hintPair;        // a whole label pair
extern const char *const hintStatements;  // whole statements of the program text
const char *wOrHint(const char *text, const char *hint);   // hint when text is null or ""

// Procedure box of post-cond and expand for the selected name (0: none selected).
int wProcedureBoxOpen(Widget tl, Widget button, int newState, char *(*builder)(const char *));

// Commands: loading, questions, saving (wstart.cpp, waskinv.cpp).
void wStart(Widget w, XtPointer client_data, XtPointer call_data);
void wStartOk(int i, Widget w, XtPointer client_data, XtPointer call_data);
void wAskInv(Widget w, XtPointer client_data, XtPointer call_data);
void wAskInvOk(int i);
void wRedisplay(Widget w, XtPointer client_data, XtPointer call_data);
void wClear(Widget w, XtPointer client_data, XtPointer call_data);
void wSave(Widget w, XtPointer client_data, XtPointer call_data);
void wSaveOk(int i, Widget w, XtPointer client_data, XtPointer call_data);
int wFileWrite(const char *name);   // 1 written, 0 could not be written

// Commands: browsing and verification conditions.
void wSelect(Widget w, XtPointer client_data, XtPointer call_data);
void wSelectOk(int i, Widget w, XtPointer client_data, XtPointer call_data);
void wPost(Widget w, XtPointer client_data, XtPointer call_data);
void wPostOk(int i, Widget w, XtPointer client_data, XtPointer call_data);
void wExpand(Widget w, XtPointer client_data, XtPointer call_data);
void wExpandOk(int i, Widget w, XtPointer client_data, XtPointer call_data);
void wAssumption(Widget w, XtPointer client_data, XtPointer call_data);
void wAssumptionOk(int i, Widget w, XtPointer client_data, XtPointer call_data);

// Display text builders (wutil.cpp, wutilpos.cpp): results live in sss.
char *wGetProcList();
char *wGetSentenceList(const char *name);
char *wGetProcContent(const char *name);
char *wGetProcContent2(const char *name);
char *wGetSentenceContent(const char *pair);
char *wGetSentenceContent2(char *pair);   // pair holds LABEL_SIZE characters
char *wGetAssumptionList(const char *name);
char *wGetAssumptionList2(const char *name);
char *wGetProcPrePostCond(const char *name);
char *wGetSentPrePostCond(const char *pair);
void wSentenceRead2(const char *s, char *out);   // out holds LABEL_SIZE characters
void wPostCleanStack();
// The post-cond navigation stack: n entries of label pairs.
extern char sName[NAV_DEPTH][NAV_ENTRY_SIZE];
extern int n;
void ProcedurePrint2(ProcedurePtr p, Text *out);
// Helpers of the builders: a condition wrapped at NICE_WIDTH (nothing for
// none); a statement between its conditions in sss (null when the pair names
// none; condensed uses SentencePrint2); wSentenceRead2 into `size` bytes.
void wNiceCondPrint(FormulaPtr f, Text *out);
char *wSentenceDisplay(const char *pair, int condensed);
void wSentenceRead2N(const char *s, char *out, size_t size);
void SentencePrint2(const char *pair, Text *out, int k);

// Statement reader for selected text (wsentenc.cpp); l holds LABEL_SIZE.
void wSentenceRead(char *s, char *l);
int wSentLoopRead(char *s, char *l);
void wSentLoopRead1(char *s, char *l);
int wSentCondRead(const char *s);
int wSentCaseRead(char *s, char *l);
void wSentCaseRead1(char *s, char *l);
int wSentElemRead(char *s, char *l);
int wSentCallRead(char *s, char *l);
void wReadLabels(char *s, char *l);
int wSentSeqComposition(const char *l1, char *l2);
