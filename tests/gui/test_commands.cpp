// Every command through the transitions of its dialog, and their speed with
// a thousand procedures loaded.
#include "client_fixture.h"
#include "../../smt/smt.h"

namespace {

TEST_F(Client, StartAddProcAndAnnotationQuestions) {
  SetSensitiveFalse(0);
  std::string name = "=" + Example("swap.q");
  name.insert(name.size() - 4, " \t\n");   // blanks inside the name are removed before use
  Run({{0, &wstart, 105, wp1, 0, kAskFile},
       {"=/no/such/file.q", &wp1->ok, 105, wp1, 0, "File Not Found!!"}, {0, &wp1->cancel, 0}});
  // The questions come in order; nothing is generated before the last answer.
  StartWith("%PROC r(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=2;]]");
  const char *inv = "Please Provide the invariant of (2,4) of procedure r:";
  EXPECT_EQ(Prompt(), "Please Provide the post-condition of r:");
  Run({{"={x = 0}", &wp1->ok, 109, wp1, 0, "Please Provide the pre-condition of r:", 0},
       {"=x=0", &wp1->ok, 109, wp1, 0, inv},
       {"=", &wp1->ok, 109, wp1, 0, inv}});   // an empty answer: the question stays
  EXPECT_EQ(assumptionList.assumption, nullptr);
  Run({{"=x<6", &wp1->ok, 0, 0, wp1}});
  ProcedurePtr r = Procedure2Ptr("r");   // the answers with braces and without are the same
  EXPECT_TRUE(r && assumptionList.assumption && FormulaPrintEqual(r->postCond, r->preCond));
  // An invariant whose body chain does not end at the loop label: the question stays.
  Out([] { StartWith("{x=0}%PROC u(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)"
                     "LB=3=>$Ox=+(x,1)^$OLB=9;]]{x=5}"); });
  std::string out = Out([] { Answer("x<6"); });
  EXPECT_TRUE(Has(out, "Error: the answer could not be attached to (3,2)")) << out;
  EXPECT_TRUE(state == 109 && Has(Prompt(), "could not be attached")) << Prompt();
  // Cancel on a question drops everything, also what was loaded before.
  Run({{0, &wp1->cancel, 0, 0, wp1}});
  EXPECT_TRUE(!procedureList.procedure && !assumptionList.assumption && SevenUsable() == 0);
  EXPECT_EQ(TextOf(wtext) + LabelOf(wstart), "start");
  Run({{0, &wstart, 105, wp1, 0, kAskFile}, {name.c_str(), &wp1->ok, 0, 0, wp1}});
  EXPECT_TRUE(LabelOf(wstart) + TextOf(wtext) == "add-procswap\n" && SevenUsable() == 7);
}

// The invariant question opens with a suggestion typed in, which Ok accepts
// as if typed; with nothing to suggest the box is empty.
TEST_F(Client, InvariantQuestionOpensWithSuggestion) {
  SmtSetOn(1);
  StartWith("{n>0}%PROC s(%INP/n:int;%IOP/x:int)==%STM[LB=1=>$Ox=0^$OLB=2;"
            "*[LB=2^~(x=n)=>($OLB=3|$OLB=4)LB=3=>$Ox=+(x,1)^$OLB=2;]]{x=n}");
  std::string suggestion = TextOf(wp1->text);
  EXPECT_TRUE(state == 109 && Has(suggestion, "(x<n|x=n)")) << suggestion;
  Press(wp1->ok);
  ProcedurePtr s = Procedure2Ptr("s");
  currentProcedure = s;
  FormulaPtr inv = GetPostCond("(3,2)");
  FormulaPtr typed = FormulaAlloc();
  FormulaRead(&suggestion[0], typed);
  EXPECT_TRUE(state == 0 && inv && FormulaPrintEqual(inv, typed) && assumptionList.assumption);
  FormulaFree(typed);
  for (SequentListPtr q = &sequentList; q && q->sequent; q = q->sequentList)
    EXPECT_TRUE(q->sequent->proved) << Str(q->sequent, SequentPrintOne);
  SmtSetOn(0);
  // A loop whose body does not lead back to its label: nothing to suggest.
  Out([] { StartWith("{x=0}%PROC u(%IOP/x:int)==%STM[*[LB=2^x<5=>($OLB=3|$OLB=4)"
                     "LB=3=>$Ox=+(x,1)^$OLB=9;]]{x=5}"); });
  EXPECT_TRUE(state == 109 && TextOf(wp1->text).empty()) << TextOf(wp1->text);
}

TEST_F(Client, RefreshSaveAndClear) {
  StartWith(Example("maxwrong.q"));
  wSetText(wtext, "stale");
  Run({{0, &wredisplay, 0}});
  EXPECT_EQ(TextOf(wtext), "maxwrong\n");
  std::string path = "=/tmp/quell-save-" + std::to_string(getpid()) + ".txt";
  std::string out = Out([&] {
    Run({{0, &wsave, 107, wp1, 0, "Please Provide a File Name:"},
         {"=", &wp1->ok, 107, wp1, 0, "Please Provide a File Name:"},   // no name: the dialog stays
         {"=/no/such/dir/out.txt", &wp1->ok, 107, wp1}});
  });
  EXPECT_TRUE(Has(out, "Error: cannot write the file /no/such/dir/out.txt")) << out;
  EXPECT_TRUE(Has(Prompt(), "could not be written")) << Prompt();
  Run({{path.c_str(), &wp1->ok, 0, 0, wp1}});
  std::string text = Slurp(path.substr(1));
  // Four sections: the program, the separator, the heading and the remaining conditions.
  EXPECT_EQ(text.rfind("Procedures:\n\n{ $T }\n%PROC maxwrong(", 0), 0u) << text;
  size_t sep = text.find("\n;;--------------------------------------\n\n");
  EXPECT_TRUE(sep != std::string::npos && text.find("Remaining Verification Conditions:\n\n") == sep + 43)
      << text;
  // clear drops the program and opens the start dialog at once; the saved file
  // loads again and saves as the same file.
  Run({{0, &wclear, 105, wp1, 0, kAskFile}});
  EXPECT_TRUE(!procedureList.procedure && !assumptionList.assumption);
  EXPECT_EQ(TextOf(wtext) + LabelOf(wstart), "add-proc");
  std::string again = path + ".again";
  Run({{path.c_str(), &wp1->ok, 0, 0, wp1}, {0, &wsave, 107, wp1}, {again.c_str(), &wp1->ok, 0}});
  EXPECT_TRUE(TextOf(wtext) == "maxwrong\n" && Slurp(again.substr(1)) == text);
  unlink(path.c_str() + 1), unlink(again.c_str() + 1);
  Run({{0, &wclear, 105, wp1, 0, kAskFile}});
  // Cancelled, the start dialog leaves nothing loaded, and the buttons say so.
  Run({{0, &wp1->cancel, 0, 0, wp1}});
  EXPECT_TRUE(LabelOf(wstart) == "start" && SevenUsable() == 0 && IsSensitive(wstart));
}

// Where a selection names no procedure or no statement, the box says what to select.
TEST_F(Client, SelectionsNamingNothingSayWhatToSelect) {
  StartWith(kExample);
  wSetText(wtext, "nosuch\np\n");
  const char *proc = "names no procedure", *pair = "a whole label pair such as";
  std::string out = Out([&] {
    Run({{"nosuch", &wselect, 106, wp2, 0, 0, proc}, {0, &wp2->cancel, 0},
         {"nosuch", &wpost, 112, wp1, 0, "Procedure nosuch:", proc}, {0, &wp1->cancel, 0},
         {"nosuch", &wexpand, 111, wp1, 0, 0, proc}, {0, &wp1->cancel, 0},
         {"nosuch", &wassumption, 108, wp1, 0, 0, proc}, {0, &wp1->cancel, 0},
         {"p", &wpost, 112, wp1}, {"(1,", &wp1->ok, 112, wp3, 0, 0, pair},
         {0, &wp3->cancel, 112, wp1, wp3}, {0, &wp1->cancel, 0},
         {"p", &wselect, 106, wp2}, {"(1,", &wp2->ok, 106, wp1, 0, 0, pair},
         {0, &wp1->cancel, 106, wp2, wp1}, {0, &wp2->cancel, 0},
         {"p", &wexpand, 111, wp1}, {"=junk", &wp1->ok, 111, wp3, 0, 0, "whole statements"},
         {0, &wp3->ok, 111, wp1, wp3}, {0, &wp1->cancel, 0, 0, wp1}});
  });
  EXPECT_EQ(out, "Error: sentenceRead\n");
}

TEST_F(Client, SelectPostCondAndExpand) {
  StartWith(kExample);
  const char *pick = "Please Select One Line:";
  Run({{0, &wselect, 0, 0, wp2},   // nothing selected: nothing happens
       {"p", &wselect, 106, wp2, 0, pick, "(1,2)\n(3,5)\n(4,5)\n(2,5)\n(1,5)\n"},
       {"(2,5)", &wp2->ok, 106, wp1, 0, "Program Part (2,5) of p:", "?[LB=2^t>b=>$OLB=3|~=>$OLB=4;"},
       {0, &wp1->cancel, 106, wp2, wp1, pick},   // closes only the part popup
       {0, &wp2->cancel, 0, 0, wp2}});
  // post-cond descends through the parts; presses with nothing selected go back up.
  const char *part15 = "Program Part (1,5):", *part25 = "Program Part (2,5):";
  Run({{"p", &wpost, 112, wp1, 0, "Procedure p:", "%STM[ \n\t(1,5) \n]\n"},
       {"(1,5)", &wp1->ok, 112, wp3, 0, part15, "   (1,2);\n   (2,5);\n"},
       {"(2,5)", &wp3->ok, 112, wp3, 0, part25},
       {"(3,5)", &wp3->ok, 112, wp3, 0, "Program Part (3,5):", "LB=3=>$Ob=t^$OLB=5;"},
       {"", &wp3->ok, 112, wp3, 0, part25}, {"", &wp3->ok, 112, wp3, 0, part15},
       {"", &wp3->ok, 112, wp1, wp3, "Procedure p:"}});
  EXPECT_EQ(n, 0);
  // Cancel in the part popup, and a pair naming no statement, empty the stack.
  Run({{"(1,5)", &wp1->ok, 112, wp3, 0, part15}, {"(2,5)", &wp3->ok, 112, wp3, 0, part25},
       {0, &wp3->cancel, 112, wp1, wp3}});
  EXPECT_EQ(n, 0);
  Run({{"(1,5)", &wp1->ok, 112, wp3, 0, part15}, {"=(9,9)", &wp3->ok, 112, wp1, wp3}});
  EXPECT_EQ(n, 0);
  Run({{0, &wp1->cancel, 0}, {"p", &wexpand, 111, wp1, 0, "Procedure p:"},
       {"LB=1=>$Ot=a^$OLB=2;", &wp1->ok, 111, wp3, 0, "Program Part (1,2):", "LB=1=>$Ot=a^$OLB=2;"},
       {0, &wp3->ok, 111, wp1, wp3, "Procedure p:"}, {0, &wp1->cancel, 0, 0, wp1}});
  // A selection spanning two statements shows the first; the reader says the rest does not chain.
  Run({{"p", &wexpand, 111, wp1, 0, "Procedure p:"}});
  std::string full = TextOf(wp1->text);
  size_t from = full.find("LB=1=>"), to = full.find("     ]\n");
  ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << full;
  Select(wp1->text, (long)from, (long)(to + 6));
  std::string printed = Out([] {
    Run({{0, &wp1->ok, 111, wp3, 0, "Program Part (1,5):", "LB=1=>$Ot=a^$OLB=2;"}});
  });
  EXPECT_EQ(printed, "Error: sent.seq\n");
  Run({{0, &wp3->ok, 111, wp1, wp3, "Procedure p:"}, {0, &wp1->cancel, 0, 0, wp1}});
  EXPECT_TRUE(IsSensitive(wselect) && IsSensitive(wpost) && IsSensitive(wexpand));
}

TEST_F(Client, VeriCondsAxiomsDischargeAndRefusals) {
  StartWith(Example("noinv.q"));
  const char *noinv = "Verification Conditions for noinv:", *axiom = "Please Provide an Axiom:";
  std::string refused = std::string(noinv) + " (the axiom was refused)";
  // After the invariant answer an implication axiom discharges the last sequent;
  // an axiom the prover refuses is noted in the prompt, and discharges nothing: so is
  // text that is not read wholly or without an Error line.
  const char *left = "n>x\n =>\n  x=n,n>+(x,1),+(x,1)=n";
  std::string out = Out([&] {
    Run({{"=x < n | x = n", &wp1->ok, 0, 0, wp1},
         {"", &wassumption, 108, wp1, 0, "Verification Conditions:", "noinv"}, {0, &wp1->cancel, 0},
         {"noinv", &wassumption, 108, wp1, 0, noinv},
         {0, &wp1->ok, 108, wp1, 0, noinv, left},
         {0, &wp1->ok, 108, wp1, 0, axiom},
         {"=n>x -> n>+(x,1) | +(x,1)=n)", &wp1->ok, 108, wp1, 0, refused.c_str(), left},
         {0, &wp1->ok, 108, wp1, 0, axiom}, {"=n>>((", &wp1->ok, 108, wp1, 0, refused.c_str(), left},
         {0, &wp1->ok, 108, wp1, 0, axiom}, {"=$$$", &wp1->ok, 108, wp1, 0, refused.c_str(), left},
         {0, &wp1->ok, 108, wp1, 0, axiom},
         {"=n>x -> n>+(x,1) | +(x,1)=n", &wp1->ok, 108, wp1, 0, noinv, "="},
         {0, &wp1->ok, 108, wp1, 0, axiom}, {"=x=x", &wp1->ok, 108, wp1, 0, refused.c_str()}});
  });
  const char *unread = "Error: axiom refused: it could not be read as one formula\n";
  EXPECT_EQ(out, std::string(unread) + "Error: *** Missing name ***\n" + unread + unread +
                     "Error: axiom refused: it is trivially true and proves nothing\n");
}

// With 1000 procedures loaded every command's text appears in time .
TEST_F(Client, EveryCommandInTimeWithAThousandProcedures) {
  std::string prog;
  for (int i = 0; i < 1000; i++)
    prog += "{n>0}%PROC proc" + std::to_string(i) +
            "(%INP/n:int;%IOP/x:int)==%LOC [int:i]%STM [LB=1=>$Oi=0^$Ox=0^$OLB=2;*[LB=2^~(i=n)=>("
            "$OLB=3|$OLB=4)LB=3=>$Oi=+(i,1)^$Ox=+(x,1)^$OLB=2;{x=i}]?[LB=4^x>0=>$OLB=5|~=>$OLB=6;"
            "LB=5=>$Ox=x^$OLB=7;LB=6=>$Ox=+(x,1)^$OLB=7;]]{x>-1}";
  StartProg1(strdup(prog.c_str()));
  wAskInv(topLevel, nullptr, nullptr);
  ASSERT_EQ(state, 0);
  SetSensitiveFalse(1);
  Run({{0, &wredisplay, 0}, {"proc999", &wselect, 106, wp2, 0, 0, "(4,7)"}, {"(4,7)", &wp2->ok, 106, wp1},
       {0, &wp1->cancel, 106, wp2, wp1}, {0, &wp2->cancel, 0, 0, wp2},
       {"proc999", &wpost, 112, wp1, 0, 0, "(1,7)"}, {"(1,7)", &wp1->ok, 112, wp3, 0, 0, "(1,4)"},
       {"(1,4)", &wp3->ok, 112, wp3, 0, 0, "(2,4)"}, {0, &wp3->cancel, 112, wp1, wp3},
       {0, &wp1->cancel, 0, 0, wp1}, {"proc999", &wexpand, 111, wp1},
       {"LB=1=>$Oi=0^$Ox=0^$OLB=2;", &wp1->ok, 111, wp3, 0, 0, "LB=1=>"}, {0, &wp3->ok, 111, wp1, wp3},
       {0, &wp1->cancel, 0, 0, wp1}, {"proc999", &wassumption, 108, wp1}, {0, &wp1->ok, 108, wp1},
       {0, &wp1->ok, 108, wp1}, {"=x>-1", &wp1->ok, 108, wp1}, {0, &wp1->cancel, 0, 0, wp1},
       {"", &wassumption, 108, wp1, 0, 0, "proc0"}, {0, &wp1->ok, 108, wp1},
       {0, &wp1->cancel, 0, 0, wp1}, {0, &wsave, 107, wp1}}, true);
}

}  // namespace
