#pragma once

#include "platform/filestore.h"

#include <filesystem>

namespace doorsel::test {

// Held by tests that set and check the logon-host value. On Windows that value lives in the one
// registry every test process shares, so two such tests running side by side would see each
// other's writes; elsewhere each test folder has a store of its own and the lock costs nothing.
class LogonHostLock {
public:
    LogonHostLock()
        : lock(detail::LockStore((std::filesystem::temp_directory_path() / "doorsel-tests-uihost").string()))
    {
    }

private:
    detail::StoreLock lock;
};

} // namespace doorsel::test
