#include "windowinstance.h"

#include <windows.h>

#include <chrono>
#include <thread>

namespace doorsel {
namespace {

// In the session's own namespace: another session's windows are no concern, and the objects carry
// the creating user's default rights, so another user of the session cannot signal or hold them.
constexpr const wchar_t* HolderName = L"Local\\example.doorsel.Doorsel.Window";
constexpr const wchar_t* RequestName = L"Local\\example.doorsel.Doorsel.ComeForward";

HANDLE handleOf(std::intptr_t value)
{
    return reinterpret_cast<HANDLE>(value); // NOLINT(performance-no-int-to-ptr)
}

} // namespace

WindowInstance::WindowInstance()
{
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, HolderName);
    if (mutex == nullptr)
        return;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        holder = false;
        return;
    }
    lock = reinterpret_cast<std::intptr_t>(mutex);
    // Auto-resetting: each signal wakes the window once.
    if (HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, RequestName))
        request = reinterpret_cast<std::intptr_t>(event);
}

WindowInstance::~WindowInstance()
{
    if (request != -1)
        ::CloseHandle(handleOf(request));
    if (lock != -1)
        ::CloseHandle(handleOf(lock));
}

bool WindowInstance::askRunningToComeForward()
{
    if (holder)
        return false;
    // The running window may bring itself to the front only with this process's leave.
    ::AllowSetForegroundWindow(ASFW_ANY);
    // It may be starting still, its event not yet made.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        if (HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, RequestName)) {
            const bool signalled = ::SetEvent(event) != 0;
            ::CloseHandle(event);
            return signalled;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

void WindowInstance::takeRequests()
{
    // The event resets itself as it wakes the waiter: nothing more to take.
}

} // namespace doorsel
