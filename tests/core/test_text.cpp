// TextPrintf appends formats of plain %s conversions without vsnprintf: the
// text must be exactly what snprintf makes of them, and of every other format.
#include "coretest.h"

TEST(TextPrintf, PlainFormatsAsSnprintfWritesThem) {
  const std::string longArg(5000, 'a');
  struct { const char *fmt, *a, *b; } rows[] = {
      {"", "x", "y"},           {"plain", "x", "y"},        {"%s", "", "y"},
      {"LB=%s=>", "12", "y"},   {"%s/%s:", "io", "n"},      {"100%%", "x", "y"},
      {"%%s%s%%", "x", "y"},    {"%s%s", longArg.c_str(), "b"},
      {"%.1s|%5s", "xyz", "ab"}, {"%d", nullptr, nullptr},  // not plain: vsnprintf
  };
  for (auto &r : rows) {
    SCOPED_TRACE(r.fmt);
    char want[8192];
    Text t;
    TextInit(&t);
    TextAppend(&t, "<");
    if (strcmp(r.fmt, "%d") == 0) {
      snprintf(want, sizeof want, "<%d", 42);
      TextPrintf(&t, "%d", 42);
    } else {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
      snprintf(want, sizeof want, (std::string("<") + r.fmt).c_str(), r.a, r.b ? r.b : "");
      TextPrintf(&t, r.fmt, r.a, r.b ? r.b : "");
#pragma GCC diagnostic pop
    }
    EXPECT_EQ(TextStr(&t), std::string(want));
    EXPECT_EQ(t.len, strlen(want));
    TextFree(&t);
  }
}

// A text with a sink is written out at the places between lines where it is
// spilled; what reaches the file is all that was appended, in order.
TEST(TextSpill, WritesOnceLongEnoughAllWhenForcedAndNotesFailures) {
  Text t;
  TextInit(&t);
  TextAppend(&t, "kept");
  TextSpill(&t, 1);   // no sink: nothing happens
  EXPECT_EQ(std::string(TextStr(&t)), "kept");
  TextClear(&t);
  FILE *f = tmpfile();
  ASSERT_TRUE(f);
  t.sink = f;
  std::string all;
  for (int i = 0; i < 5000; i++) {
    std::string line = "line " + std::to_string(i) + "\n";
    TextAppend(&t, line.c_str()), all += line;
    TextSpill(&t, 0);
    EXPECT_LT(t.len, TEXT_SPILL + line.size());   // never held much longer
  }
  EXPECT_GT(t.len, 0u);   // the last piece waits for the forced spill
  TextSpill(&t, 1);
  EXPECT_EQ(t.len, 0u);
  rewind(f);
  std::string got(all.size() + 1, 0);
  EXPECT_EQ(fread(&got[0], 1, got.size(), f), all.size());
  got.resize(all.size());
  EXPECT_TRUE(got == all && !t.sinkError);
  fclose(f);
  if (FILE *full = fopen("/dev/full", "w")) {   // a failed write is noted
    t.sink = full;
    TextAppend(&t, all.c_str());
    TextSpill(&t, 1);
    fflush(full);
    EXPECT_TRUE(t.sinkError);
    fclose(full);
  }
  TextFree(&t);
}
