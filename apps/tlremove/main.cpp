// tlremove on the host: the removal program run against a machine folder, answered by an
// answers file, a terminal or the defaults, and recorded in a transcript, as tlins32a is.
#include "../tlins32a/host_session.h"

#include "removal/removal_run.h"
#include "removal/settings_file.h"
#include "state/installer.h"

int main(int argc, char** argv) {
    using namespace tl;
    constexpr int kExitUsage = 2;
    app::HostProgram program{
        "tlremove", app::kRemovalUsage, true,
        [](Installer& installer, const app::Options& options) {
            std::optional<std::string> settings;
            if (options.settings)
                settings = installer.platform.codePage.FromUtf8(*options.settings);
            if (!FindRemovalSettings(installer, settings)) {
                installer.installationState = InstallationState::Failed;
                return kExitUsage;
            }
            installer.installationState = RunRemoval(installer, WindowHandle{});
            return 0;
        },
        // Never beside an installer or another removal working on the same machine.
        [](WindowSystem&) { return false; }};
    return app::RunHostProgram(argc, argv, program);
}
