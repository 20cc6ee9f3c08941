#include "ui/unattended/exit_status.h"

namespace tl::ui {

int UnattendedExitStatus(InstallationState installationState, bool anythingFailed) {
    if (anythingFailed || installationState == InstallationState::Failed)
        return kExitFailed;
    if (installationState == InstallationState::RestartNeeded)
        return kExitRestartNeeded;
    if (installationState == InstallationState::Installed)
        return kExitInstalled;
    return kExitCancelled;
}

} // namespace tl::ui
