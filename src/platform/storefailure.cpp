#include "storefailure.h"

#include "fspath.h"
#include "registry.h"

#include <atomic>
#include <filesystem>

namespace fs = std::filesystem;

namespace doorsel {

bool WriteRegValueChecked(const std::string& path, const std::string& value)
{
    WriteRegValue(path, value);
    return ReadRegValue(path) == value;
}

std::string WhyNotWritten(const std::string& storePath)
{
    using namespace failuretext;
    if (storePath.empty())
        return NoRightsToRegistry;
    const fs::path store = FsPath(storePath);
    const std::string name = FsBytes(store.filename());
    std::error_code error;
    const fs::file_status status = fs::status(store, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return name + NotAFile;
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return name + FileReadOnly;

    const fs::path folder = store.parent_path();
    if (const fs::space_info space = fs::space(folder, error); !error && space.available == 0)
        return DiskFull;
    // Only trying tells for sure whether the folder takes a new entry (rights, a read-only drive);
    // an empty folder is made and removed at once.
    static std::atomic<unsigned> probes {0};
    const fs::path probe = folder / FsPath(".doorsel-probe-" + std::to_string(probes++));
    if (fs::create_directory(probe, error)) {
        fs::remove(probe, error);
        return name + FileNotWritten;
    }
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return NoRightsToFolder;
    if (error == std::errc::read_only_file_system)
        return ReadOnlyDrive;
    if (error == std::errc::no_space_on_device)
        return DiskFull;
    return name + FileNotWritten;
}

std::string NotStoredMessage(const char* what, const std::string& storePath)
{
    return std::string(what) + ": " + WhyNotWritten(storePath) + ".";
}

} // namespace doorsel
