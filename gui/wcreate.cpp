#include "w.h"
