// The floor of the benchmark: reads the program file and writes a file of
// the same size, the least any verifier run has to do with its input.
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: quell1-floor PROGRAM OUTPUT\n");
    return 2;
  }
  FILE *in = fopen(argv[1], "rb");
  if (!in) return 2;
  fseek(in, 0, SEEK_END);
  long size = ftell(in);
  fseek(in, 0, SEEK_SET);
  char *buf = static_cast<char *>(malloc(size > 0 ? size : 1));
  size_t got = fread(buf, 1, size, in);
  fclose(in);
  FILE *out = fopen(argv[2], "wb");
  if (!out) return 2;
  size_t put = fwrite(buf, 1, got, out);
  int bad = fclose(out) != 0 || put != got;
  free(buf);
  return bad ? 2 : 0;
}
