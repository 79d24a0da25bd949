#include "core.h"
int main() { return 2; }
