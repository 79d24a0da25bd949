// Where errors and conditions come from: located error lines, the origin of
// every condition, the JSON report, the command line and the install.
#include <nlohmann/json.hpp>

#include "coretest.h"
#include "../../core/core.h"
#include "../../program/sentence.h"
#include "../../vcgen/assump.h"
#include "../../prover/proof.h"
#include "../../prover/refute.h"

using nlohmann::json;
using Located = InTmpDir;

// Errors on known lines: in the block, in a later procedure, and one found
// after reading (a call of no procedure), which is placed at the head.
static const char *const kBad =
    ";; line 1: a comment\n"
    "{n>0}\n"
    "%PROC first(%INP/n:int;%IOP/x:int)==\n"
    "%STM [\n"
    "  LB=1=>$Ox=0^$OLB=2;\n"
    "  LB=2=>$Ox=+(x,1^$OLB=3;\n"
    "  LB=3$Ox=+(x,1)^$OLB=4;\n"
    "]\n"
    "{x=1}\n"
    "\n"
    "{$T}\n"
    "%PROC second(%IOP/y:int)==\n"
    "%STM [\n"
    "  LB=1=>$Oy=1^$OLB=2;\n"
    "  LB=2=>$Oy=(y,$OLB=3;\n"
    "]\n"
    "{y=1}\n"
    "{$T}%PROC third(%IOP/x:int)==\n"
    "%STM[LB=1=>nosuch(%IOP/x|y)^$OLB=2;]{x=1}\n";

TEST_F(Located, ErrorLinesNameFileLineAndProcedure) {
  Write("bad.q", kBad);
  EXPECT_EQ(Run("bad.q out.txt"), 1);
  EXPECT_EQ(err, "bad.q:6: error: *** Missing ) *** [in procedure first]\n"
                 "bad.q:7: error: sentenceRead [in procedure first]\n"
                 "bad.q:7: error: LB=3$Ox=+(x,1)^$OLB=4;] [in procedure first]\n"
                 "bad.q:15: error: *** Missing name *** [in procedure second]\n"
                 "bad.q:15: error: *** Missing ) *** [in procedure second]\n"
                 "bad.q:15: error: *** Missing $OLB *** [in procedure second]\n"
                 "bad.q:15: error: sent.elem, LB [in procedure second]\n"
                 "bad.q:15: error: sent.elem: text after the next label: =3 [in procedure second]\n"
                 // found after the block was read: at the head
                 "bad.q:12: error: procedure second: statements (1,2) are cut off from the chain of "
                 "their block [in procedure second]\n"
                 "bad.q:18: error: Procedure Call [in procedure third]\n"
                 "bad.q:18: error: nosuch: no such procedure [in procedure third]\n");
  // Standard output keeps its Error lines, the same for the text given
  // literally, which is <text> at line 1.
  std::string fileOut = out.substr(0, out.find("conditions remaining"));
  std::string text = kBad;
  text = text.substr(text.find('{'));   // from the first condition on, quoted for the shell
  EXPECT_EQ(Run("'" + text + "' out.txt"), 1);
  EXPECT_EQ(out.substr(0, out.find("conditions remaining")), fileOut);
  EXPECT_TRUE(Has(err, "<text>:1: error: sentenceRead [in procedure first]\n")) << err;
  EXPECT_FALSE(Has(err, "<text>:2:")) << err;
  // Counterexample lines begin with the place of the procedure's head.
  EXPECT_EQ(Run(QUELL_SOURCE_DIR "/examples/countwrong.q out.txt"), 1);
  EXPECT_TRUE(Has(out, "/examples/countwrong.q:4: countwrong: condition 1 (invariant of loop (2,4) kept by "
                       "its body) fails for ")) << out;
}

TEST(Origins, NestedLoopsAndACallKeepTheirOriginThroughEveryPass) {
  char dir[] = "/tmp/quell-origin-XXXXXX";
  ASSERT_TRUE(mkdtemp(dir));
  std::string file = std::string(dir) + "/nest.q";
  Write(file,
        "{y=#y}\n%PROC inc(%IOP/y:int)==\n%STM [LB=1=>$Oy=+(y,1)^$OLB=2;]\n{y=+(#y,1)}\n"
        "{n>0^m>0}\n"
        "%PROC nest(%INP/n:int;%INP/m:int;%IOP/k:int)==\n"   // line 6
        "%LOC [int:i;int:j]\n%STM [\n"
        "  LB=1=>$Oi=0^$Ok=0^$OLB=2;\n"
        "  *[LB=2^~(i=n)=>($OLB=3|$OLB=6)\n"
        "    LB=3=>$Oj=0^$OLB=4;\n"
        "    *[LB=4^~(j=m)=>($OLB=5|$OLB=7)\n"
        "      LB=5=>inc(%IOP/k|y)^$OLB=8;\n"
        "      LB=8=>$Oj=+(j,1)^$OLB=4;\n"
        "      {k=+(*(i,m),j)^j>-1}\n"
        "    ]\n"
        "    LB=7=>$Oi=+(i,1)^$OLB=2;\n"
        "    {k=*(i,m)^i>-1}\n"
        "  ]\n]\n{k=*(n,m)}\n");
  ProcedureListClear(), AssumptionListClear(), SequentListClear();
  std::vector<char> name(file.begin(), file.end());
  name.push_back(0);
  CaptureStdout(), StartProg1(name.data()), StartProg0();
  EXPECT_EQ(Out(), "");
  // The inner loop is reached first; the body's condition comes last.
  std::string origins;
  for (AssumptionListPtr n = &assumptionList; n && n->assumption; n = n->assumptionList) {
    Text t;
    TextInit(&t);
    OriginPrint(&n->assumption->origin, AssumptionProcName(n->assumption), &t);
    origins += std::to_string(n->assumption->origin.number) + " " + TextStr(&t) + "; ";
    TextFree(&t);
  }
  EXPECT_EQ(origins, "1 body of inc against its post-condition; "
                     "1 invariant of loop (4,7) kept by its body; 2 exit of loop (4,7); "
                     "3 invariant of loop (2,6) kept by its body; 4 exit of loop (2,6); "
                     "5 body of nest against its post-condition; ");
  // Every remaining sequent, split off or not, points at a condition of its
  // own procedure; the rules split condition 1 into two that remain.
  std::map<OriginPtr, int> parts;
  for (SequentListPtr n = &sequentList; n && n->sequent; n = n->sequentList) {
    SequentPtr s = n->sequent;
    ASSERT_NE(s->origin, nullptr);
    bool found = false;
    for (AssumptionListPtr a = &assumptionList; a && a->assumption; a = a->assumptionList)
      found |= &a->assumption->origin == s->origin && !strcmp(AssumptionProcName(a->assumption), s->remark);
    EXPECT_TRUE(found);
    parts[s->origin]++;
  }
  EXPECT_EQ(parts[&assumptionList.assumptionList->assumption->origin], 2);
  EXPECT_EQ(parts.size(), 4u);   // inc's condition and the outer exit are proved
  EXPECT_STREQ(assumptionList.assumption->origin.provedBy, "axiom test");
  Text line;
  TextInit(&line);
  RefuteLineBegin(Procedure2Ptr("nest"), sequentList.sequent, 2, &line);
  EXPECT_EQ(std::string(TextStr(&line)), file + ":6: nest: condition 2 (invariant of loop (4,7) kept by its body) fails for ");
  TextFree(&line);
  EXPECT_EQ(system(("rm -rf " + std::string(dir)).c_str()), 0);
}

using Report = InTmpDir;

TEST_F(Report, JsonOfProvedRefutedAndErroneousProgramsReadsBack) {
  std::string ex = QUELL_SOURCE_DIR "/examples/";
  // Proved: every condition with the pass that proved it.
  EXPECT_EQ(Run("-q --json r.json " + ex + "count.q out.txt"), 0);
  json j = json::parse(Slurp("r.json"));
  EXPECT_EQ(j["schema"], 1);
  EXPECT_EQ(j["program"], ex + "count.q");
  EXPECT_EQ(j["status"], "proved");
  EXPECT_EQ(j["exit_status"], 0);
  ASSERT_EQ(j["procedures"].size(), 1u);
  json p = j["procedures"][0];
  EXPECT_EQ(p["name"], "count");
  EXPECT_EQ(p["file"], ex + "count.q");
  EXPECT_EQ(p["line"], 4);
  EXPECT_EQ(p["status"], "proved");
  ASSERT_EQ(p["conditions"].size(), 3u);
  const char *kinds[] = {"loop invariant kept", "loop exit", "body"};
  for (int i = 0; i < 3; i++) {
    json c = p["conditions"][i];
    EXPECT_EQ(c["number"], i + 1);
    EXPECT_EQ(c["origin"]["kind"], kinds[i]);
    EXPECT_EQ(c["origin"]["loop"], i < 2 ? json("(2,4)") : json(nullptr));
    EXPECT_EQ(c["verdict"], "proved");
    EXPECT_TRUE(c["proved_by"].is_string());
    EXPECT_FALSE(c.contains("remaining"));
  }
  EXPECT_EQ(p["conditions"][1]["antecedents"], json({"i=n", "x=i"}));
  EXPECT_EQ(p["conditions"][1]["succedents"], json({"x=n"}));
  EXPECT_EQ(p["conditions"][2]["origin"]["text"], "body of count against its post-condition");
  EXPECT_EQ(j["errors"], json::array());
  for (const char *stage : {"load", "prove", "write", "refute"}) EXPECT_GE(j["seconds"][stage].get<double>(), 0) << stage;
  // Refuted: the values, also when quiet; to standard output with "-".
  EXPECT_EQ(Run("--quiet --no-smt --json=- " + ex + "countwrong.q out.txt"), 1);
  j = json::parse(out);   // standard output holds the document alone
  EXPECT_EQ(j["status"], "open");
  json c = j["procedures"][0]["conditions"][0];
  EXPECT_EQ(c["origin"]["text"], "invariant of loop (2,4) kept by its body");
  EXPECT_EQ(c["verdict"], "refuted");
  ASSERT_EQ(c["remaining"].size(), 1u);
  EXPECT_EQ(c["remaining"][0]["number"], 1);
  EXPECT_EQ(c["remaining"][0]["antecedents"], json::array());
  EXPECT_EQ(c["remaining"][0]["succedents"], json({"i=n", "+(i,2)=+(i,1)"}));
  EXPECT_EQ(c["remaining"][0]["verdict"], "refuted");
  EXPECT_EQ(c["remaining"][0]["values"], "i=1, n=0");
  EXPECT_EQ(j["procedures"][0]["conditions"][1]["verdict"], "proved");
  // With the solver: what it proves names it; its model gives the values.
  EXPECT_EQ(Run("-q -j r.json " + ex + "nested.q out.txt"), 0);
  EXPECT_EQ(json::parse(Slurp("r.json"))["procedures"][0]["conditions"][0]["proved_by"], "smt");
  EXPECT_EQ(Run("-q -j r.json " + ex + "quantwrong.q out.txt"), 1);
  c = json::parse(Slurp("r.json"))["procedures"][0]["conditions"][0];
  EXPECT_EQ(c["verdict"], "refuted");
  EXPECT_TRUE(Has(c["remaining"][0]["values"].get<std::string>(), "a[")) << c;
  // Erroneous: read errors and every error line with its place.
  Write("bad.q", kBad);
  EXPECT_EQ(Run("-q -j r.json bad.q out.txt"), 1);
  j = json::parse(Slurp("r.json"));
  // A call that cannot be used makes the condition unprovable, as an error in reading does.
  const char *status[] = {"read error", "read error", "read error"};
  const int line[] = {3, 12, 18};
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(j["procedures"][i]["status"], status[i]);
    EXPECT_EQ(j["procedures"][i]["line"], line[i]);
  }
  EXPECT_EQ(j["procedures"][2]["conditions"][0]["remaining"][0]["verdict"], "open");
  ASSERT_EQ(j["errors"].size(), 11u);
  EXPECT_EQ(j["errors_total"], 11);
  EXPECT_EQ(j["errors"][1], json({{"file", "bad.q"}, {"line", 7}, {"procedure", "first"}, {"message", "sentenceRead"}}));
  EXPECT_EQ(j["errors"][10]["line"], 18);
  EXPECT_EQ(j["errors"][10]["message"], "nosuch: no such procedure");
  EXPECT_EQ(Run("-j - bad.q out.txt"), 1);   // the Error lines go to standard error then
  EXPECT_EQ(json::parse(out)["errors"].size(), 11u);
  EXPECT_TRUE(Has(err, "Error: sentenceRead\n") && Has(err, "bad.q:7: error: sentenceRead")) << err;
  // Very many errors: the first 1000 listed, all counted; long messages cut.
  std::string many;
  for (int i = 0; i < 600; i++) many += "{$T}%PROC p" + std::to_string(i) + "()==%STM[x]{$T}\n";
  Write("many.q", many);
  EXPECT_EQ(Run("-q -j r.json many.q out.txt"), 1);
  j = json::parse(Slurp("r.json"));
  EXPECT_EQ(j["errors"].size(), 1000u);
  EXPECT_EQ(j["errors_total"], 1200);
  EXPECT_EQ(j["errors"][999]["line"], 500);
  Write("long.q", "%PROCp" + std::string(5000, 'a'));
  EXPECT_EQ(Run("-q -j r.json long.q out.txt"), 1);
  std::string message = json::parse(Slurp("r.json"))["errors"][0]["message"];
  EXPECT_EQ(message.size(), 2048u + 3);
  EXPECT_EQ(message.substr(2048), "...");
  // Bytes that are no UTF-8 (in a file name, a procedure name, a formula and
  // an error line) are replaced in the document, never fatal.
  Write("u\xff.q", "{x=1}%PROC p\xfe(%IOP/x:int)==%STM[LB=1=>$Ox=+(x,1)^$OLB=2;]{x=3\xc3}\n{\xff");
  EXPECT_EQ(Run("-q -j r.json u\xff.q out.txt"), 1);
  j = json::parse(Slurp("r.json"));
  EXPECT_EQ(j["program"], "u\xef\xbf\xbd.q");
  EXPECT_EQ(j["procedures"][0]["name"], "p\xef\xbf\xbd");
  EXPECT_FALSE(j["errors"].empty());
  // Nothing verified: the annotations missing; an error without a place.
  EXPECT_EQ(Run("-j r.json " + ex + "missing.q out.txt"), 2);
  j = json::parse(Slurp("r.json"));
  EXPECT_EQ(j["status"], "error");
  EXPECT_EQ(j["procedures"][0]["status"], "not verified");
  EXPECT_EQ(Run("-j r.json no-such.q out.txt"), 2);
  j = json::parse(Slurp("r.json"));
  EXPECT_EQ(j["errors"][0]["file"], nullptr);
  EXPECT_EQ(j["errors"][0]["message"], "cannot read the program file no-such.q");
}

TEST_F(Report, CommandLine) {
  std::string count = QUELL_SOURCE_DIR "/examples/count.q";
  EXPECT_EQ(Run("--help"), 0);
  for (const char *o : {"Usage: quell1-batch [OPTION]... PROGRAM OUTPUT", "--json=FILE", "--quiet", "--debug",
                        "--version", "Exit status"})
    EXPECT_TRUE(Has(out, o)) << o;
  EXPECT_EQ(Run("-h"), 0);
  EXPECT_TRUE(Has(out, "Usage:"));
  EXPECT_EQ(Run("--version"), 0);
  EXPECT_TRUE(Has(out, "quell1-batch 1.")) << out;
  // Usage errors: exit 2, what is wrong and the usage line on standard error.
  struct { const char *args, *why; } usage[] = {
      {"--bogus a b", "unknown option --bogus"},     {"-x a b", "unknown option -x"},
      {"--json", "option --json needs a value"},     {"a b -j", "option -j needs a value"},
      {"--debug=1 a b", "option --debug takes no value"}, {"a", ""}, {"a b c", ""},
      {"--quiet -xq a b", "unknown option -x\n"}};
  for (auto &u : usage) {
    EXPECT_EQ(Run(u.args), 2) << u.args;
    EXPECT_TRUE(Has(err, u.why) && Has(err, "Usage: quell1-batch")) << u.args << err;
    EXPECT_EQ(out, "") << u.args;
  }
  // Long options beside the short ones, and after the operands.
  EXPECT_EQ(Run("--quiet --debug " + count + " out.txt"), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(access("vLog", F_OK), 0);
  EXPECT_EQ(Run(count + " out.txt -q"), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Run("-q -j /nonexistent-dir/r.json " + count + " out.txt"), 2);
  EXPECT_TRUE(Has(out, "Error: cannot write the JSON report /nonexistent-dir/r.json")) << out;
  // opened, but the data cannot be flushed when the stream is closed
  EXPECT_EQ(Run("-q -j /dev/full " + count + " out.txt"), 2);
  EXPECT_TRUE(Has(out, "Error: cannot write the JSON report /dev/full")) << out;
}

using Install = InTmpDir;

TEST_F(Install, IntoATemporaryPrefixAndRunTheInstalledVerifier) {
  std::string prefix = std::string(dir) + "/prefix";
  ASSERT_EQ(system((QUELL_CMAKE " --install " QUELL_BINARY_DIR " --prefix " + prefix + " >install.log 2>&1").c_str()), 0)
      << Slurp("install.log");
  for (const char *f : {"/bin/quell1-batch", "/share/man/man1/quell1.1", "/share/man/man1/quell1-batch.1",
                        "/etc/X11/app-defaults/Quell1"})
    EXPECT_EQ(access((prefix + f).c_str(), F_OK), 0) << f;
  EXPECT_EQ(access((prefix + "/bin/quell1").c_str(), X_OK), access(QUELL_GUI_BIN, X_OK));
  std::string batch = prefix + "/bin/quell1-batch";
  EXPECT_EQ(system((batch + " -q " QUELL_SOURCE_DIR "/examples/count.q out.txt").c_str()), 0);
  EXPECT_EQ(Slurp("out.txt"), Slurp(QUELL_SOURCE_DIR "/tests/data/count.result"));
  // The installed client finds its app-defaults where the toolkit is told to
  // look (here the file, changed, turns the solver on) and runs without them.
  if (!getenv("DISPLAY") || access((prefix + "/bin/quell1").c_str(), X_OK)) return;
  std::string appdefaults = prefix + "/etc/X11/app-defaults/Quell1", text = Slurp(appdefaults);
  ASSERT_TRUE(Has(text, "\n*Smt: false\n"));
  Write(appdefaults, text.replace(text.find("*Smt: false"), 11, "*Smt: true"));
  std::string client = prefix + "/bin/quell1 " QUELL_SOURCE_DIR "/examples/max.q ";
  EXPECT_EQ(system(("XFILESEARCHPATH=" + prefix + "/etc/X11/%T/%N%S " + client + "with.txt").c_str()), 0);
  EXPECT_EQ(Slurp("with.txt"), Slurp(QUELL_SOURCE_DIR "/tests/data/max.smt.result"));
  EXPECT_EQ(system(("XFILESEARCHPATH=" + std::string(dir) + "/none/%N " + client + "without.txt").c_str()), 0);
  EXPECT_EQ(Slurp("without.txt"), Slurp(QUELL_SOURCE_DIR "/tests/data/max.result"));
}
