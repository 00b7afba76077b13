// Kordavan in a browser: the same start-up and loop as on the desktop, but
// the browser owns the loop and asks for one frame at a time.

#include "app/main_loop.h"
#include "platform/web_backend.h"

namespace {

bool browserFrame() {
    if (runFrame()) return true;
    endProgram();
    return false;
}

}  // namespace

int main() {
    platform::useWebBackend();
    if (!startProgram(platform::gameModule(), 1)) {
        // The teardown has already shown why, on the page.
        platform::finish();
        return 0;
    }
    beginLoop(false);
    platform::runBrowserFrames(browserFrame);
    return 0;
}
