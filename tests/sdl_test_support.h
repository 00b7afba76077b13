#pragma once
// Helpers for the SDL back-end tests: environment variables that put
// themselves back, and work done in a child process where SDL's global state
// and the environment may be changed freely.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
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

}  // namespace sdltest
