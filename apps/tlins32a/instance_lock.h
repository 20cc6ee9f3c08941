// One installer at a time on a machine folder. On Windows a second copy finds the first one's
// main window; on the host two processes share no windows, so the first one holds a lock on a
// file in the machine folder for as long as it runs (the system drops it when the process ends,
// however it ends).
#pragma once

#include <filesystem>

namespace tl::app {

class InstanceLock {
public:
    // Tries to take the lock of `machineDir`; Held() says whether it was got.
    explicit InstanceLock(const std::filesystem::path& machineDir);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    bool Held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

} // namespace tl::app
