// How far the installation has come. The numbers are the ones the records and the transcript's
// end line show ({"event":"end","state":4,...}); write them with StateNumber.
#pragma once

namespace tl {

enum class InstallationState {
    NotStarted = 0,
    Failed = 1,
    Installed = 4,
    RestartNeeded = 5,
};

constexpr int StateNumber(InstallationState state) {
    return static_cast<int>(state);
}

// Installed, whether or not Windows must restart.
constexpr bool IsInstalled(InstallationState state) {
    return state == InstallationState::Installed || state == InstallationState::RestartNeeded;
}

} // namespace tl
