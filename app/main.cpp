// Kordavan: a night-time helicopter rescue game.

#include "app/main_loop.h"
#include "platform/sdl_backend.h"

int main() {
    platform::useSdlBackend();
    const int exitCode = winMain(platform::gameModule(), 1);
    platform::finish();
    return exitCode;
}
