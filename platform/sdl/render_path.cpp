// Which way the SDL back end shows its frames: through OpenGL when a real
// graphics chip draws them, or straight into the window's framebuffer when
// OpenGL would only be the processor pretending to be one. A software
// rasteriser spends threads, memory and a texture round trip on a picture
// that the framebuffer path shows with one copy.

#include <SDL.h>
#include <SDL_opengl.h>

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>

#if defined(__unix__)
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/sdl/sdl_machine.h"

namespace platform::sdl {

namespace {

constexpr const char* pathVariable = "KORDAVAN_RENDERER";

std::string lowerCase(const char* text) {
    std::string lower = text == nullptr ? "" : text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The name of the renderer behind a throwaway OpenGL context, or empty when
// no context can be made at all. A hidden 1 x 1 window holds the context,
// so the game's own window never carries OpenGL unless it is used.
std::string openGlRendererName() {
    SDL_Window* probe = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1,
                                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe == nullptr) {
        return "";
    }
    std::string name;
    if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
        using GetString = const GLubyte*(APIENTRY*)(GLenum);
        auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
        const GLubyte* text = getString != nullptr ? getString(GL_RENDERER) : nullptr;
        if (text != nullptr) {
            name = reinterpret_cast<const char*>(text);
        }
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return name;
}

}  // namespace

bool isSoftwareRasteriser(const char* rendererName) {
    const std::string name = lowerCase(rendererName);
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer",
                                 "software renderer", "gdi generic"}) {
        if (name.find(software) != std::string::npos) {
            return true;
        }
    }
    return false;
}

RenderPath requestedRenderPath(const char* setting) {
    const std::string value = lowerCase(setting);
    if (value.empty() || value == "auto") {
        return RenderPath::Auto;
    }
    if (value == "software") {
        return RenderPath::Software;
    }
    if (value == "accelerated") {
        return RenderPath::Accelerated;
    }
    std::fprintf(stderr,
                 "kordavan: %s=%s is not software, accelerated or auto; choosing by the "
                 "graphics driver\n",
                 pathVariable, setting);
    return RenderPath::Auto;
}

namespace {

#if defined(__unix__)
// Asked in a child process, which takes everything OpenGL loaded away with
// it: a software rasteriser keeps its threads and tens of megabytes for the
// life of the process that once made a context. Called while this process
// has no video of its own yet, so the child starts SDL's video afresh.
std::string rendererNameFromChild() {
    int ends[2];
    if (pipe(ends) != 0) {
        return "";
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        const std::string name =
            SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? openGlRendererName() : std::string();
        const ssize_t written = write(ends[1], name.data(), name.size());
        _exit(written == static_cast<ssize_t>(name.size()) ? 0 : 1);
    }
    close(ends[1]);
    std::string name;
    if (child > 0) {
        // A driver that hangs must not keep the game from starting.
        pollfd wait{ends[0], POLLIN, 0};
        char chunk[256];
        ssize_t got = 0;
        while (poll(&wait, 1, 5000) > 0 && (got = read(ends[0], chunk, sizeof chunk)) > 0) {
            name.append(chunk, static_cast<size_t>(got));
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(ends[0]);
    return name;
}
#endif

}  // namespace

RenderPath SdlBackend::chooseRenderPath() {
    const RenderPath asked = requestedRenderPath(SDL_getenv(pathVariable));
    if (asked != RenderPath::Auto) {
        return asked;
    }
    // The graphics driver does not change while the game runs: asked once.
    static std::optional<bool> softwareOpenGl;
    if (!softwareOpenGl) {
#if defined(__unix__)
        const std::string name =
            SDL_WasInit(SDL_INIT_VIDEO) == 0 ? rendererNameFromChild() : openGlRendererName();
#else
        const std::string name = openGlRendererName();
#endif
        // No OpenGL at all leaves nothing to accelerate with either.
        softwareOpenGl = name.empty() || isSoftwareRasteriser(name.c_str());
    }
    return *softwareOpenGl ? RenderPath::Software : RenderPath::Accelerated;
}

}  // namespace platform::sdl
