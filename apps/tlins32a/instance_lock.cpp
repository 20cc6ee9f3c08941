#include "instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tl::app {

InstanceLock::InstanceLock(const std::filesystem::path& machineDir) {
    std::filesystem::path file = machineDir / "tlins32a.lock";
    // Never through a link: the lock file is the folder's own, and opening a link to a file
    // elsewhere would create or hold that file.
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    // A folder where no lock file can be made (read-only, or a link in its place) cannot be
    // shared safely either; the run goes on, as it would on Windows, and the installer's own
    // checks report what fails.
    if (fd_ < 0) {
        held_ = true;
        return;
    }
    held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace tl::app
