#include "uninstall.h"

#include "platform/logonhost.h"
#include "platform/registry.h"

namespace doorsel {

void RunUninstall()
{
    DeleteRegValue(RunValueRandomPath());
    DeleteRegValue(RunValueStartupPath());
    WriteRegValue(UIHostPath, DefaultLogonHost);
}

} // namespace doorsel
