// Runs quell1-batch on generated hostile inputs in a private directory and
// reads back what it printed and wrote.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace hostile {

struct BatchRun {
  int status;        // exit status; 128+n for a signal, 124 for a time-out
  double seconds;
  std::string out;   // standard output
  std::string err;   // standard error
  std::string result;  // the result file ("" when none was written)
  bool wroteResult;
};

inline std::string FileText(const std::string &name, bool *found = nullptr) {
  std::string r;
  FILE *f = fopen(name.c_str(), "rb");
  if (found) *found = f != nullptr;
  if (!f) return r;
  char buf[8192];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) r.append(buf, n);
  fclose(f);
  return r;
}

inline void FileWrite(const std::string &name, const std::string &text) {
  FILE *f = fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr) << name;
  fwrite(text.data(), 1, text.size(), f);
  fclose(f);
}

// A private directory for one test, removed afterwards.
struct Dir {
  std::string path;
  Dir() {
    char p[] = "/tmp/quell-hostile-XXXXXX";
    char *d = mkdtemp(p);
    EXPECT_NE(d, nullptr);
    path = d ? d : "/tmp";
  }
  ~Dir() {
    std::string cmd = "rm -rf '" + path + "'";
    if (system(cmd.c_str()) != 0) ADD_FAILURE() << cmd;
  }
  std::string In(const std::string &name) const { return path + "/" + name; }
};

// Runs the verifier on the program file `name` of dir (or on a literal
// text when `literal` is set), writing the result to dir/out.txt.
inline BatchRun Batch(const Dir &dir, const std::string &program, bool literal = false,
                 const char *options = "") {
  BatchRun r;
  std::string prog = literal ? program : dir.In(program);
  std::string q;   // single-quoted for the shell
  q = "'";
  for (char c : prog) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  q += "'";
  std::string cmd = "cd '" + dir.path + "' && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 " +
                    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 timeout 120 " +
                    QUELL_BATCH + " " + options + " " + q + " out.txt >stdout.txt 2>stderr.txt";
  auto t0 = std::chrono::steady_clock::now();
  int st = system(cmd.c_str());
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
  r.out = FileText(dir.In("stdout.txt"));
  r.err = FileText(dir.In("stderr.txt"));
  r.result = FileText(dir.In("out.txt"), &r.wroteResult);
  return r;
}

// The remaining conditions listed under procedure `name` in a result file,
// or "<none>" when the procedure has no section there.
inline std::string Section(const std::string &result, const std::string &name) {
  size_t at = result.find("Remaining Verification Conditions:");
  if (at == std::string::npos) return "<none>";
  std::string head = "\n..." + name + "...\n";
  size_t s = result.find(head, at);
  if (s == std::string::npos) return "<none>";
  s += head.size();
  size_t e = result.find("\n...", s);
  return result.substr(s, e == std::string::npos ? std::string::npos : e - s);
}

// Holds for a run that ended by itself, in time, with no sanitizer report.
inline void ExpectClean(const BatchRun &r, double limit = 60) {
  EXPECT_LE(r.status, 2) << "status " << r.status << "\n" << r.err.substr(0, 4000);
  EXPECT_EQ(r.err.find("Sanitizer"), std::string::npos) << r.err.substr(0, 4000);
  EXPECT_EQ(r.err.find("runtime error"), std::string::npos) << r.err.substr(0, 4000);
  EXPECT_LT(r.seconds, limit);
}

inline bool HasProcedure(const BatchRun &r, const std::string &name) {
  return r.result.find("%PROC " + name + "(") != std::string::npos;
}

// The procedure is in the result file with at least one open condition.
inline void ExpectUnproved(const BatchRun &r, const std::string &name) {
  EXPECT_TRUE(HasProcedure(r, name)) << name << "\n" << r.result.substr(0, 2000);
  std::string s = Section(r.result, name);
  EXPECT_NE(s, "<none>") << name;
  EXPECT_NE(s.find("=>"), std::string::npos) << name << " has no open condition:\n" << s;
}

}  // namespace hostile
