// The module and the start-up failure, shared by the loaders of every layer.

#include "platform/startup_state.h"

const platform::Module* appInstance = nullptr;
const char* errorMessage = nullptr;
