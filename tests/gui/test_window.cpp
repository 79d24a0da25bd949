// The client in process: display text builders, the navigation stack and the
// selection reader (no display needed); then start-up command lines, popup boxes
// and dispatcher, input and selection reading.
#include "client_fixture.h"

namespace {

TEST(Builders, NamesOfNothingNavigationBoundsAndCutTexts) {
  Clear();
  StartProg1(strdup("{a>0}%PROC p(%INP/a:int;%IOP/b:int)==%LOC [int:t]%STM [LB=1=>$Ot=a^$OLB=2;"
                    "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;LB=3=>$Ob=t^$OLB=5;LB=4=>$OLB=5;]]{b>0}"));
  ProcedurePtr p = currentProcedure = Procedure2Ptr("p");
  for (const char *s : {wGetProcPrePostCond("zz"), wGetSentPrePostCond("(7,7)"),
                        wGetSentenceContent("(9,9)"), wGetSentenceContent("")})
    EXPECT_EQ(s, nullptr);
  EXPECT_EQ(currentProcedure, p);
  char pair[LABEL_SIZE];
  Nav(pair, "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(2,5)"), "   ?[LB=2^t>b=>$OLB=3|~=>$OLB=4;\n      (3,5);\n"));
  // Back: to the earlier entry, then past the first, never below 0.
  EXPECT_TRUE(Has(Nav(pair, ""), "(1,2);"));
  EXPECT_TRUE(Nav(pair, "") + Nav(pair, "") == "(null)(null)" && n == 0);
  // A full stack refuses one entry more and keeps showing its top.
  for (int i = 0; i < NAV_DEPTH; i++) Nav(pair, i == NAV_DEPTH - 1 ? "(2,5)" : "(1,5)");
  EXPECT_TRUE(Has(Nav(pair, "(3,5)"), "?[LB=2"));
  EXPECT_TRUE(n == NAV_DEPTH && !strcmp(pair, "(2,5)"));
  // A text too long to be a label pair is not pushed.
  wPostCleanStack(), Nav(pair, "(1,5)");
  char big[SELECT_SIZE];
  memset(big, 'x', 100), big[0] = '(', big[100] = 0;
  EXPECT_TRUE(wGetSentenceContent2(big) && n == 1 && !strcmp(big, "(1,5)"));
  // Statements cut off from the chain of their block are shown with it, in both forms.
  testing::internal::CaptureStdout();
  StartProg1(strdup("{x=5}%PROC order(%IOP/x:int)==%STM[LB=3=>$Ox=0^$OLB=4;LB=1=>$Ox=1^$OLB=3;]{x=5}"));
  EXPECT_TRUE(Has(testing::internal::GetCapturedStdout(), "statements (3,4) are cut off"));
  EXPECT_TRUE(Has(Str(wGetProcContent2("order")), "%STM[ \n\t(3,4) \n\t(1,3) \n]\n"));
  EXPECT_TRUE(Has(Str(wGetProcContent("order")), "    LB=3=>$Ox=0^$OLB=4;\n    LB=1=>$Ox=1^$OLB=3;\n"));
  // Long lists are cut to their buffer.
  std::string prog;
  for (int i = 0; i < 1500; i++)
    prog += "{x>0}%PROC proc" + std::to_string(i) + "()==%STM[LB=1=>$Ox=x^$OLB=2;]{x>0}";
  StartProg1(strdup(prog.c_str()));
  std::string list = Str(wGetProcList());
  EXPECT_TRUE(list.size() < (size_t)SSS_SIZE && Has(list, "text cut"));
  Clear();
}

// The pair of a selection (in its buffer, read in bounded time) and what was printed.
std::string PairOf(std::string text, std::string *printed = nullptr) {
  char l[LABEL_SIZE] = "junk";
  testing::internal::CaptureStdout();
  auto t0 = std::chrono::steady_clock::now();
  wSentenceRead(&text[0], l);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 2.0);
  std::string out = testing::internal::GetCapturedStdout();
  if (printed) *printed = out;
  EXPECT_LT(strlen(l), (size_t)LABEL_SIZE);
  return l;
}

TEST(SelectionReader, PairsErrorsBoundsAndLinearTimeOnNestedBrackets) {
  std::string printed;
  struct { const char *text, *pair, *printed; } rows[] = {
      {"LB=5=>q(%IOP/b|y;%INP/t|z)^$OLB=6;", "(5,6)", ""},
      {"LB=1=>$OLB=2;LB=7=>$OLB=8;", "(7,8)", "Error: sent.seq\n"},
      {"LB=1=>$OLB=2;junk", "(1,2)", "Error: sentenceRead\n"},
      // A loop followed by a statement: the loop's body does not run on into it.
      {"*[LB=2^i<n=>($OLB=3|$OLB=6)LB=3=>$Oi=+(i,1)^$OLB=2;]LB=6=>$Ox=i^$OLB=7;", "(2,7)", ""}};
  for (const auto &r : rows) {
    EXPECT_EQ(PairOf(r.text, &printed), r.pair) << r.text;
    EXPECT_EQ(printed, r.printed) << r.text;
  }
  // Found by fuzzing: brackets closing before the loop's "=>" made every loop read
  // the rest of the selection again (exponential time).
  std::string nested = Slurp(QUELL_SOURCE_DIR "/tests/data/hostile/select-nested-brackets.bin"), shape, deep;
  ASSERT_FALSE(nested.empty());
  for (int i = 0; i < 60; i++) shape += "*[?]*[LB=5=>y([;L4)";
  for (int i = 0; i < 1000; i++) deep += "*[LB=2^c=>($OLB=3|$OLB=4)";
  // Cut and hostile texts: never read past the end, the pair stays in its buffer.
  for (std::string c : {nested, shape, deep, std::string("*[LB=2^i<n=>($OLB=3"),
                        std::string("?[LB=2^t>b=>"), std::string("LB=1=>"),
                        "LB=" + std::string(300, 'a') + "=>$OLB=" + std::string(300, 'b') + ";"})
    PairOf(c);
  // Labels too long to form a pair give the empty pair, never a cut one.
  EXPECT_EQ(PairOf("LB=" + std::string(16, 'a') + "=>$OLB=" + std::string(14, 'b') + ";"), "");
  char out[LABEL_SIZE];
  wSentenceRead2("x(3,4)y(5,6)", out);
  EXPECT_STREQ(out, "(3,4)");
  wSentenceRead2(("(" + std::string(200, 'a') + ")").c_str(), out);
  EXPECT_EQ(strlen(out), (size_t)LABEL_SIZE - 1);
}

// Start-up command lines, each in a fresh client: what wCommandLine returns (-1:
// enter the event loop), the list text, the state (109: an invariant question is
// open), whether out.txt is written and part of what was printed (null: not checked).
TEST_F(Client, CommandLineForms) {
  const char *swap = "{x=a^y=b}%PROC swap(%IOP/x:int;%IOP/y:int)==%LOC [int:t]"
      "%STM [LB=1=>$Ot=x^$OLB=2;LB=2=>$Ox=y^$OLB=3;LB=3=>$Oy=t^$OLB=4;]{x=b^y=a}";
  std::string none = "/nonexistent-dir/none.q", noinv = Example("noinv.q");
  struct { std::vector<std::string> args; int ret; const char *list; int st; bool writes;
           const char *printed; } rows[] = {
      {{}, -1, "", 0, false, nullptr},
      {{swap}, -1, "swap\n", 0, false, nullptr},
      {{swap, "out.txt", "x"}, -1, "swap\n", 0, false, nullptr},
      {{swap, "out.txt"}, 0, "swap\n", 0, true, nullptr},
      {{noinv, "out.txt"}, -1, "noinv\n", 109, false, nullptr},
      {{none, "out.txt"}, 1, "", 0, false, none.c_str()},
      {{none}, 1, "", 0, false, none.c_str()},
      {{swap, "/nonexistent-dir/out.txt"}, 1, "swap\n", 0, false,
       "Error: cannot write the file /nonexistent-dir/out.txt"},
      {{"-d", "p.q", "out.txt"}, -1, "", 0, false, nullptr}};   // the log is opened, nothing loaded
  char old[4096], dir[] = "/tmp/quell-gui-XXXXXX";
  ASSERT_TRUE(getcwd(old, sizeof old) && mkdtemp(dir) && chdir(dir) == 0);
  std::ofstream("p.q") << swap;
  for (const auto &r : rows) {
    SCOPED_TRACE("row " + std::to_string(&r - rows));
    TearDown(), SetUp(), unlink("out.txt");
    std::string printed = Out([&] { EXPECT_EQ(CommandLine(r.args), r.ret); Pump(); });
    if (r.printed) { EXPECT_TRUE(Has(printed, r.printed) && Has(printed, "Error: ")) << printed; }
    EXPECT_EQ(LabelOf(wstart), *r.list ? "add-proc" : "start");
    if (*r.list || !r.printed) { EXPECT_EQ(SevenUsable(), *r.list ? 7 : 0); }
    EXPECT_TRUE(IsSensitive(wstart) == (r.st != 109) && IsSensitive(wquit));
    EXPECT_TRUE(state == r.st && IsPoppedUp(wp1) == (r.st == 109));
    EXPECT_EQ(TextOf(wtext), r.list);
    EXPECT_EQ(Exists("out.txt"), r.writes);
    EXPECT_EQ(Slurp("out.txt").rfind("Procedures:\n\n", 0) == 0, r.writes);
    if (r.st == 109) {   // answering the question generates the conditions but writes no file
      Answer("x < +(n,1)");
      EXPECT_TRUE(state == 0 && !IsPoppedUp(wp1) && assumptionList.assumption && !Exists("out.txt"));
    }
  }
  EXPECT_TRUE(LogIsOn() && Exists("vLog"));
  EXPECT_TRUE(!chdir(old) && !system((std::string("rm -rf ") + dir).c_str()));
}

TEST_F(Client, PopupsPlaceGreyOutDispatchAndAreBounded) {
  EXPECT_TRUE(numberOfBoxes == 2 && wp1 == &popupBoxes[0] && wp3 == &popupBoxes[2]);
  // With state 0 (and a state no command has) Ok and Cancel do nothing.
  PopShell1(topLevel, wstart, "prompt", "text", "Ok", "Cancel");
  for (PopupBoxPtr p : {wp1, wp2, wp3}) Press(p->ok), Press(p->cancel);
  state = 4711, DialogDone1(0, wp1->cancel, wp1->box, nullptr), state = 0;
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsPoppedUp(wp2) && !IsPoppedUp(wp3) && !procedureList.procedure);
  EXPECT_EQ(Prompt() + "|" + TextOf(wp1->text), "prompt|text");
  popdown(wstart, wp1->pshell);
  // The box is placed at the main window and grabs input; a greyed-out button takes none.
  EXPECT_EQ(CommandLine({}), -1);
  int calls = 0;
  XtAddCallback(wredisplay, XtNcallback, CountCall, &calls);
  Click(wredisplay);
  SetSensitiveFalse(1);
  PopShell1(topLevel, wsave, "Please Provide a File Name:", "abc", "Ok", "Cancel");
  EXPECT_TRUE(IsPoppedUp(wp1) && !IsSensitive(wsave));
  Position x = 0, y = 0, px = 1, py = 1;
  XtTranslateCoords(topLevel, 50, 100, &x, &y);
  XtVaGetValues(wp1->pshell, XtNx, &px, XtNy, &py, NULL);
  EXPECT_TRUE(px == x && py == y);
  Click(wredisplay);
  EXPECT_EQ(calls, 0);
  PopShell3(wp1->box, wp1->ok, "Program Part (1,2) of swap:", nullptr, "Select", "Back");
  EXPECT_TRUE(IsPoppedUp(wp3) && !IsSensitive(wp1->ok) && TextOf(wp3->text).empty());
  popdown(wp1->ok, wp3->pshell), popdown(wsave, wp1->pshell);
  EXPECT_TRUE(!IsPoppedUp(wp3) && IsSensitive(wp1->ok) && IsSensitive(wsave));
  Click(wredisplay);
  EXPECT_EQ(calls, 1);
  std::string longName(2047, 'n');   // a long prompt is shown whole
  PopShell2(topLevel, wselect, longName.c_str(), "LB=1=>$Ox=1^$OLB=2;\n", "Expand", "Cancel");
  EXPECT_EQ(LabelOf(wp2->label), longName);
  // The prompt is left-justified at x 4 (the box keeps it in its first row, above the list).
  Position lx = 0, ly = 0, ty = 0;
  Dimension lh = 0;
  XtJustify justify = XtJustifyCenter;
  XtVaGetValues(wp2->label, XtNx, &lx, XtNy, &ly, XtNheight, &lh, XtNjustify, &justify, NULL);
  XtVaGetValues(wp2->text, XtNy, &ty, NULL);
  EXPECT_TRUE(lx == 4 && justify == XtJustifyLeft && ly + lh <= ty) << lx << " " << ly << " " << ty;
  // The storage of boxes is bounded: past it creation fails with an Error line.
  numberOfBoxes = POPUP_CAPACITY - 1;
  int r1 = 0, r2 = 0;
  EXPECT_TRUE(Has(Out([&] { r1 = CreateReadBox(), r2 = CreateListBox(); }), "Error: "));
  EXPECT_TRUE(r1 == -1 && r2 == -1 && numberOfBoxes == POPUP_CAPACITY - 1);
  numberOfBoxes = POPUP_CAPACITY - 2;   // the last free element can still be used
  EXPECT_EQ(CreateListBox(), POPUP_CAPACITY - 1);
  numberOfBoxes = 2;
}

// Input loses its white space and is read whole up to the buffer, longer input is
// refused with an Error line; selections are cut to the buffer. Nothing is written
// past the caller's buffer.
TEST_F(Client, InputAndSelectionWithoutWhiteSpaceAndInBounds) {
  std::string text, expect, full(INPUT_SIZE - 1, 'x'), qs(3000, 'q');
  for (int i = 0; i < 9000; i++) text += (i % 10 == 9) ? '\n' : char('a' + i % 26);
  for (char c : text) if (c != '\n') expect += c;   // longer than one block of the source
  // Read from the answer text, or the selection from..to of the main text.
  struct { std::string text; long from, to; size_t size; char first; std::string read; bool err; } rows[] = {
      {"  {x = 1 ^\n\ty=2}\n ", 0, 0, INPUT_SIZE, '{', "{x=1^y=2}", false},
      {" \t\n\n  ", 0, 0, INPUT_SIZE, 0, "", false},
      {text, 0, 0, INPUT_SIZE, 'a', expect, false},
      {"  " + full + " \n", 0, 0, INPUT_SIZE, 'x', full, false},
      {full + "y", 0, 0, INPUT_SIZE, 0, "", true},
      {"abcdefgh", 0, 0, 8, 0, "", true},
      {"abc defg", 0, 0, 8, 'a', "abcdefg", false},
      {"first\nse c\tond\nthird\n", 6, 14, SELECT_SIZE, 's', "second", false},
      {qs + "\nrest", 0, 3005, SELECT_SIZE, 'q', qs.substr(0, SELECT_SIZE - 1), false},
      {qs + "\nrest", 2995, 3005, 4, 'q', "qqq", false},
      {qs + "\nrest", 2995, 3005, 1, 0, "", false}};
  for (const auto &r : rows) {
    std::vector<char> buf(r.size + 8, 'Z');
    Widget w = r.to ? wtext : wp1->text;
    SetTextOf(w, r.text), Select(w, r.from, r.to);
    char first = 1;
    std::string out = Out([&] {
      first = r.to ? GetSelectedItem(buf.data(), w, r.size) : GetInput(buf.data(), w, r.size);
    });
    EXPECT_TRUE(first == r.first && buf.data() == r.read && buf[r.size] == 'Z') << r.text.substr(0, 40);
    EXPECT_EQ(out.rfind("Error: ", 0) == 0, r.err) << out;
  }
}

}  // namespace
