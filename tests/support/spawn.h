#pragma once

#include <string>
#include <vector>

namespace doorsel::test {

// Path of another executable of the build, which lies beside the running test executable.
std::string siblingExecutable(const std::string& name);

// A child process started with its own arguments; wait() returns its exit code (-1 on failure).
class Process {
public:
    Process(const std::string& program, const std::vector<std::string>& args);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    int wait();
    // Whether it has not ended yet; once it has, wait() gives its exit code at once.
    bool running();
    // Ends the process at once, as a crash or power cut would (SIGKILL; TerminateProcess on Windows).
    void kill();
    // The process id outside Windows.
    long long id() const { return handle_; }

private:
    long long handle_ = -1;
    int exitCode_ = -1;
};

// What a whole run of a program said (standard output and error together) and how it ended.
struct RunResult {
    int exitCode = -1;
    std::string output;
};

// Runs `program` in `workingFolder` with `arguments` as the text after its name on the command
// line (passed on exactly as written), without a display to talk to, and waits for it to end; the
// output goes through `outputFile`. A run that does not end within 30 s fails the test.
RunResult runProgram(const std::string& program, const std::string& arguments, const std::string& workingFolder,
    const std::string& outputFile);

} // namespace doorsel::test
