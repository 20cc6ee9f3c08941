// TLREMOVE.EXE: the removal program as a Win32 program, in the same session as tlins32a.exe:
// interactive without options, unattended with --answers, recorded with --transcript.
#include "../../tlins32a/win32/command_line.h"
#include "../../tlins32a/win32/session.h"

#include "platform/code_page.h"
#include "removal/removal_run.h"
#include "removal/settings_file.h"
#include "state/installer.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace tl;
    constexpr int kExitUsage = 2;
    const app::WindowsOptionsParse parse = app::ParseWindowsCommandLine(GetCommandLineW(), true);
    return app::RunWindowsSession(
        instance, showCommand, L"tlremove", parse, app::kRemovalWindowsUsage,
        [](Installer& installer, const app::WindowsOptions& options, int) {
            std::optional<std::string> settings;
            if (options.settings)
                settings = installer.platform.codePage.FromUtf8(app::Utf8(*options.settings));
            if (!FindRemovalSettings(installer, settings)) {
                installer.installationState = InstallationState::Failed;
                return kExitUsage;
            }
            installer.installationState = RunRemoval(installer, WindowHandle{});
            return 0;
        });
}
