// The host session every host program of the installer runs in: its options, the machine
// folder, the answers or the terminal, the transcript, the instance lock, the stop handler and
// the exit status. tlins32a runs the installer in it, tlremove the removal.
#pragma once

#include "options.h"

#include "platform/window_system.h"

#include <functional>
#include <string>

namespace tl {
struct Installer;
}

namespace tl::app {

struct HostProgram {
    const char* name;  // in messages: "tlins32a"
    const char* usage; // the --help text
    bool removal = false;
    // The program's work: its own exit code; the outcome is left in installer.installationState.
    std::function<int(Installer& installer, const Options& options)> run;
    // Another program holds the machine: true to run all the same.
    std::function<bool(WindowSystem& windows)> busy;
};

int RunHostProgram(int argc, char** argv, const HostProgram& program);

} // namespace tl::app
