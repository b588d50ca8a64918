// Writes many values into a settings file or the registry store from a process of its own, so that
// tests can run several writers against one file at the same time.
//   doorsel_store_writer ini <file> <prefix> <count>
//   doorsel_store_writer reg <program folder> <prefix> <count>
//   doorsel_store_writer list <program folder> <prefix> <count>   (saves 1, 2, ... rows in turn)
#include "platform/appinfo.h"
#include "platform/profile.h"
#include "platform/randomlist.h"
#include "platform/registry.h"

#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    const std::string kind = argv[1];
    const std::string target = argv[2];
    const std::string prefix = argv[3];
    const int count = std::atoi(argv[4]);
    if (kind == "list") {
        doorsel::SetProgramFolder(target);
        std::vector<doorsel::RandomListRow> rows;
        for (int i = 0; i < count; ++i) {
            rows.push_back({true, "/logons/" + prefix + std::to_string(i) + "/logonui.exe"});
            if (!doorsel::SaveRandomList(rows))
                return 1;
        }
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        const std::string name = prefix + std::to_string(i);
        if (kind == "ini") {
            if (!doorsel::WriteIniValue("Options", name, std::to_string(i), target))
                return 1;
        } else if (kind == "reg") {
            doorsel::SetProgramFolder(target);
            doorsel::WriteRegValue("HKLM\\SOFTWARE\\DoorselTest\\" + name, std::to_string(i));
        } else {
            return 2;
        }
    }
    return 0;
}
