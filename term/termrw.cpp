#include "term.h"
