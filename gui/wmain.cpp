#include "w.h"
int main() { return 2; }
