#pragma once
// What every loader needs while the program starts: the module its pictures
// and sounds come from, and the one reason start-up failed. Start-up sets the
// module; the first loader that fails stores its reason, and the teardown
// shows it.

#include "platform/platform.h"

extern const platform::Module* appInstance;
extern const char* errorMessage;
