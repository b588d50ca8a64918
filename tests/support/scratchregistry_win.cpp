// Every test of this program that writes HKEY_LOCAL_MACHINE writes a scratch key of the current
// user instead, so that running the tests on a real Windows machine changes neither its logon
// screen nor its Run values. The scratch key is removed at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

class ScratchRegistry : public ::testing::Environment {
public:
    void SetUp() override
    {
        name_ = "Software\\DoorselTests\\" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExA(
                      HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch_, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_), ERROR_SUCCESS);
        // Proof that the redirection holds before any test runs: a key made under HKLM appears
        // in the scratch key.
        HKEY probe = nullptr;
        ASSERT_EQ(RegCreateKeyExA(
                      HKEY_LOCAL_MACHINE, "DoorselProbe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &probe, nullptr),
            ERROR_SUCCESS);
        RegCloseKey(probe);
        HKEY seen = nullptr;
        if (RegOpenKeyExA(scratch_, "DoorselProbe", 0, KEY_READ, &seen) != ERROR_SUCCESS) {
            std::fprintf(stderr, "HKEY_LOCAL_MACHINE could not be redirected; not running the tests\n");
            std::exit(1);
        }
        RegCloseKey(seen);
        RegDeleteKeyA(scratch_, "DoorselProbe");
    }

    void TearDown() override
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(scratch_);
        RegDeleteTreeA(HKEY_CURRENT_USER, name_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\DoorselTests");
    }

private:
    std::string name_;
    HKEY scratch_ = nullptr;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new ScratchRegistry);

} // namespace
