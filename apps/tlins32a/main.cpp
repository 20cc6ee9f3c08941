// tlins32a on the host: the installer run against a machine folder, answered by an answers file,
// a terminal, or the defaults, and recorded in a transcript.
#include "host_session.h"
#include "other_instance.h"

#include "sequencer/entry.h"
#include "state/installer.h"

int main(int argc, char** argv) {
    using namespace tl;
    app::HostProgram program{
        "tlins32a", app::kUsage, false,
        [](Installer& installer, const app::Options& options) {
            return Entry(installer, installer.platform.codePage.FromUtf8(options.commandLine),
                         SW_SHOWNORMAL);
        },
        // Another installer working on this machine shows as its main
        // window, which the installer's own check finds.
        [](WindowSystem& windows) {
            app::ShowOtherInstance(windows);
            return true;
        }};
    return app::RunHostProgram(argc, argv, program);
}
