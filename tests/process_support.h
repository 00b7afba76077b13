#pragma once
// Runs one of our programs as a user's shell would, without a shell between:
// arguments reach it as they are, and its standard streams can be a file, a
// full disk, a closed stream or a pipe nobody reads.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

struct ProcessStreams {
    std::string input = "/dev/null";  // a file to read standard input from
    std::string outputFile;           // standard output goes there, when set
    bool outputClosed = false;        // standard output is closed
    bool outputUnread = false;        // a pipe whose reader has gone
    bool errorsInOutput = false;      // standard error joins standard output
};

struct ProcessResult {
    int exitCode = -1;  // -1 when the program did not exit by itself
    std::string output;
    std::string errors;
};

namespace process_detail {

inline std::string readAll(int fd) {
    std::string text;
    char chunk[65536];
    ssize_t got = 0;
    while ((got = read(fd, chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(got));
    return text;
}

}  // namespace process_detail

inline ProcessResult runProcess(const std::vector<std::string>& arguments,
                                const ProcessStreams& streams = {}) {
    ProcessResult result;
    int output[2];
    if (pipe(output) != 0) return result;
    FILE* errors = std::tmpfile();
    if (errors == nullptr) return result;
    const pid_t child = fork();
    if (child == 0) {
        const int input = open(streams.input.c_str(), O_RDONLY);
        dup2(input, 0);
        if (!streams.outputFile.empty()) {
            dup2(open(streams.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        } else {
            dup2(output[1], 1);
        }
        dup2(streams.errorsInOutput ? 1 : fileno(errors), 2);
        close(output[0]);
        close(output[1]);
        if (streams.outputClosed) close(1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    if (streams.outputUnread) {
        close(output[0]);
    } else {
        result.output = process_detail::readAll(output[0]);
        close(output[0]);
    }
    int status = 0;
    waitpid(child, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::rewind(errors);
    result.errors = process_detail::readAll(fileno(errors));
    std::fclose(errors);
    return result;
}
