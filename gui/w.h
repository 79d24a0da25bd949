// The X client: main window, popup boxes, dialogs and commands.
#pragma once
#include "../core/core.h"
