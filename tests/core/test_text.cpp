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
