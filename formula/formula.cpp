#include "formula.h"
