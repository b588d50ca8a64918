#pragma once

#include <fstream>
#include <string>

// The process's own memory figures from /proc/self/status, in KiB ("VmRSS:", "VmHWM:"); -1 when
// missing. Peaks are read there, not from getrusage: ru_maxrss carries the parent's peak over fork
// and exec.
inline long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return -1;
}

// Sets the resident set's high-water mark (VmHWM) to the resident set now.
inline void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}
