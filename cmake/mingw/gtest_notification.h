// Included ahead of every file of GoogleTest and of the Windows tests (see tests/CMakeLists.txt).
// GoogleTest 1.12 builds its Notification on std::mutex and std::condition_variable, which the
// win32 thread flavour of MinGW's libstdc++ (GCC 12) does not have. It is used only by
// GoogleTest's own thread helpers; this one waits on an atomic flag instead. windows.h must not
// be included here: the tests include the port headers before it (see win32_api.h).
#pragma once

#ifdef __cplusplus
#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() = default;
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) {
            Sleep(1);
        }
    }

private:
    std::atomic<bool> notified_{false};
};

} // namespace testing::internal
#endif
