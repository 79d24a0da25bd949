#include "proof.h"
