#include "ui/unattended/exit_status.h"

namespace tl::ui {

int UnattendedExitStatus(int installationState, bool anythingFailed) {
    if (anythingFailed || installationState == 1)
        return kExitFailed;
    if (installationState == 5)
        return kExitRestartNeeded;
    if (installationState == 4)
        return kExitInstalled;
    return kExitCancelled;
}

} // namespace tl::ui
