// Kordavan in a browser: the same start-up and loop as on the desktop, but
// the browser owns the loop and asks for one frame at a time.

#include "app/main_loop.h"
#include "platform/web_backend.h"

int main() {
    platform::useWebBackend();
    if (!startMainLoop(platform::gameModule(), 1)) {
        // The teardown has already shown why, on the page.
        platform::finish();
        return 0;
    }
    platform::runBrowserFrames(runFrame);
    return 0;
}
