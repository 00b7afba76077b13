#pragma once
// Helpers for the SDL back-end tests: environment variables that put
// themselves back, and work done in a child process where SDL's global state
// and the environment may be changed freely.

#include <SDL.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

namespace sdltest {

// Sets (or with null, removes) a variable for the lifetime of the object.
class EnvVar {
  public:
    EnvVar(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) previous = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvVar() {
        if (previous) {
            setenv(name.c_str(), previous->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    EnvVar(const EnvVar&) = delete;
    EnvVar& operator=(const EnvVar&) = delete;

  private:
    std::string name;
    std::optional<std::string> previous;
};

// Runs `work` in a forked child and answers its result (0-125), 126 if it
// was killed, or 127 if it hung for half a minute.
inline int runInChild(const std::function<int()>& work) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(30);
        _exit(work() & 0x7F);
    }
    if (child < 0) return -1;
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? 127 : 126;
}

// What `work`, run in a forked child, prints on standard error.
inline std::string childStderr(const std::function<void()>& work) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return "(no pipe)";
    const pid_t child = fork();
    if (child == 0) {
        alarm(30);
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDERR_FILENO);
        work();
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    char chunk[512];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0) {
        text.append(chunk, static_cast<size_t>(got));
    }
    close(pipeEnds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return text;
}

// The colour (0xRRGGBB) the window shows at (x, y), whichever way the back
// end shows its frames: read back from the renderer, or from the framebuffer.
inline uint32_t shownPixel(SDL_Window* window, int x, int y) {
    uint32_t argb = 0;
    if (SDL_Renderer* renderer = SDL_GetRenderer(window)) {
        SDL_Rect one{x, y, 1, 1};
        SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &argb, 4);
        return argb & 0xFFFFFFu;
    }
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0;
    const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    uint8_t r = 0, g = 0, b = 0;
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// The size of what the window shows, in pixels, either way.
inline void shownSize(SDL_Window* window, int& width, int& height) {
    if (SDL_Renderer* renderer = SDL_GetRenderer(window)) {
        SDL_GetRendererOutputSize(renderer, &width, &height);
    } else if (SDL_Surface* surface = SDL_GetWindowSurface(window)) {
        width = surface->w;
        height = surface->h;
    }
}

}  // namespace sdltest
