#include "sentence.h"
