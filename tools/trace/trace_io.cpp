#include "tools/trace/trace_io.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/printable.h"

namespace {

// The reason of the first failed write to standard output, kept because the
// stream only remembers that one failed.
int outputErrno = 0;

std::string reason(int error) {
    return error != 0 ? std::strerror(error) : "unknown error";
}

std::string outputFailure() {
    return "cannot write the trace to standard output: " + reason(outputErrno);
}

bool outputFailed() {
    if (std::ferror(stdout) == 0) {
        return false;
    }
    if (outputErrno == 0) {
        outputErrno = errno;
    }
    return true;
}

}  // namespace

bool prepareStandardOutput(std::string& error) {
#ifdef _WIN32
    // Windows has no SIGPIPE: a write to a pipe nobody reads just fails.
    const bool closed = _get_osfhandle(_fileno(stdout)) == -1;
    // The trace is the same bytes on every machine: no CR before each newline.
    if (!closed) _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#else
    std::signal(SIGPIPE, SIG_IGN);
    const bool closed = fcntl(STDOUT_FILENO, F_GETFD) == -1;
#endif
    if (closed) {
        error = "standard output is closed; the trace cannot be written";
        return false;
    }
    return true;
}

bool readStandardInput(std::string& text, std::string& error) {
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
        text.append(chunk, got);
    }
    if (std::ferror(stdin) != 0) {
        error = "cannot read the key script from standard input: " + reason(errno);
        return false;
    }
    return true;
}

bool writeTraceLine(const std::string& line, std::string& error) {
    errno = 0;
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    if (outputFailed()) {
        error = outputFailure();
        return false;
    }
    return true;
}

bool finishTraceOutput(std::string& error) {
    errno = 0;
    std::fflush(stdout);
    if (outputFailed()) {
        error = outputFailure();
        return false;
    }
    return true;
}

bool writeWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write " + quotedInput(path, 300) + ": " + reason(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        error =
            "cannot write " + quotedInput(path, 300) + ": " + reason(written ? errno : writeErrno);
        return false;
    }
    return true;
}
