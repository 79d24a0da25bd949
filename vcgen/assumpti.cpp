#include "assump.h"
