// tlins32a.exe: the installer as a Win32 program. Without options it is the interactive
// installer; with --answers it runs unattended on the same real dialogs, and --transcript
// records what happened, as the host program does.
#include "command_line.h"
#include "session.h"

#include "sequencer/entry.h"
#include "state/installer.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace tl;
    const app::WindowsOptionsParse parse = app::ParseWindowsCommandLine(GetCommandLineW());
    return app::RunWindowsSession(
        instance, showCommand, L"tlins32a", parse, app::kWindowsUsage,
        [](Installer& installer, const app::WindowsOptions& options, int show) {
            return Entry(installer,
                         installer.platform.codePage.FromUtf8(app::Utf8(options.commandLine)),
                         show);
        });
}
