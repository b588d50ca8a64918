// Times "doorsel -random" as the system starts it, a whole process with a list of 1,000 entries,
// beside a bare program, one that only loads the GUI libraries (as doorsel did when it linked its
// windows) and one that only replaces a store as safely as a run must. The four are run in turn,
// round after round, so that a busy moment of the machine weighs on all of them alike.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Sample {
    double wall; // from the spawn to the reaped exit
    double cpu; // user and system time of the child
};

struct Program {
    const char* label;
    std::string path;
    std::vector<std::string> args;
    std::vector<double> wall;
    std::vector<double> cpu;
};

Sample runOnce(const Program& program)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.path.c_str()));
    for (const std::string& a : program.args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawn(&pid, program.path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        std::perror(program.path.c_str());
        std::exit(1);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    const auto stop = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not end with exit code 0\n", program.path.c_str());
        std::exit(1);
    }
    const auto millis = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
    return {std::chrono::duration<double, std::milli>(stop - start).count(),
        millis(usage.ru_utime) + millis(usage.ru_stime)};
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

void write(const fs::path& file, const std::string& content)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

} // namespace

int main(int argc, char* argv[])
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 300;
    const fs::path bin = fs::canonical("/proc/self/exe").parent_path();

    // A program folder of its own: doorsel, its settings (every run picks) and the list.
    const fs::path folder = fs::temp_directory_path() / ("doorsel-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    fs::copy_file(bin / "doorsel", folder / "doorsel", fs::copy_options::overwrite_existing);
    write(folder / "config.ini", "[Options]\r\nEnableRandom=1\r\nRotateEvery=1\r\nNextRotation=0\r\n");
    std::string list;
    for (int i = 0; i < 1000; ++i)
        list += "C:\\Program Files\\Logon Screens\\Collection\\Theme " + std::to_string(i) + "\\logonui.exe\r\n";
    write(folder / "random.dat", list);

    std::vector<Program> programs = {
        {"doorsel -random", (folder / "doorsel").string(), {"-random"}, {}, {}},
        {"(a) bare program", (bin / "bench_empty_main").string(), {}, {}, {}},
        {"(b) GUI libraries linked", (bin / "bench_linked_main").string(), {}, {}, {}},
        {"(c) safe replacement only", (bin / "bench_replace_only").string(), {(folder / "floor").string()}, {}, {}},
    };
    fs::create_directories(folder / "floor");
    for (Program& p : programs) // warm the page cache and create the stores
        for (int i = 0; i < 5; ++i)
            runOnce(p);
    for (int round = 0; round < rounds; ++round)
        for (size_t k = 0; k < programs.size(); ++k) {
            Program& p = programs[(k + static_cast<size_t>(round)) % programs.size()];
            const Sample sample = runOnce(p);
            p.wall.push_back(sample.wall);
            p.cpu.push_back(sample.cpu);
        }

    std::printf("%d rounds, list of 1,000 entries, every run picks\n", rounds);
    std::printf("%-26s %10s %10s %10s %12s\n", "wall time", "median", "p10", "p90", "median CPU");
    for (const Program& p : programs)
        std::printf("%-26s %7.2f ms %7.2f ms %7.2f ms %9.2f ms\n", p.label, percentile(p.wall, 0.5),
            percentile(p.wall, 0.1), percentile(p.wall, 0.9), percentile(p.cpu, 0.5));
    const double run = percentile(programs[0].wall, 0.5);
    std::printf("doorsel -random / (a): %.2fx   (goal: within 3x)\n", run / percentile(programs[1].wall, 0.5));
    std::printf("doorsel -random / (b): %.2fx\n", run / percentile(programs[2].wall, 0.5));
    // What the run costs the machine, whatever the disk makes it wait for.
    const double bare = percentile(programs[1].cpu, 0.5);
    std::printf(
        "CPU time, doorsel -random / (a): %.2fx   (goal: within 1.5x)\n", percentile(programs[0].cpu, 0.5) / bare);
    // The part of that ratio no run that stores its pick safely can go below on this machine.
    std::printf("CPU time, (c) safe replacement only / (a): %.2fx\n", percentile(programs[3].cpu, 0.5) / bare);

    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
