#include "uninstall.h"

#include "platform/logonhost.h"
#include "platform/registry.h"

#include <string>

namespace doorsel {

std::string RunUninstall()
{
    const bool random = DeleteRegValue(RunValueRandomPath());
    const bool startup = DeleteRegValue(RunValueStartupPath());
    const bool restored = WriteRegValue(UIHostPath, DefaultLogonHost);
    std::string notDone;
    const auto add = [&](bool done, const char* what) {
        if (!done)
            notDone += (notDone.empty() ? "" : "; ") + std::string(what);
    };
    add(random && startup, "the start-up entries were not removed");
    add(restored, "the system's logon screen was not restored");
    return notDone;
}

} // namespace doorsel
