#include "sequencer/entry.h"

#include "copy/progress_display.h"
#include "dialogs/dialog_utils.h"
#include "sequencer/configuration.h"
#include "sequencer/main_window.h"
#include "startup/option_flags.h"
#include "state/installer.h"

#include <array>

namespace tl {
namespace {

bool AnotherCopyRuns(Installer& installer) {
    if (!installer.windows.FindWindow(kMainWindowClass, ""))
        return false;
    installer.windows.MessageBox(
        {}, LoadTextCopy(TextId::AlreadyRunning), LoadTextCopy(TextId::WarningCaption),
        MB_OK | MB_ICONASTERISK | MB_SYSTEMMODAL, MessageKey(TextId::AlreadyRunning));
    return true;
}

bool StartUp(Installer& installer, int showCommand) {
    return Configuration(installer) &&
           RegisterProgressBarClass(installer.windows, installer.progress) &&
           RegisterTextBarClass(installer.windows, installer.progress) &&
           CreateMainWindow(installer, showCommand);
}

int RunMessageLoop(WindowSystem& windows) {
    Message message;
    while (windows.GetMessage(message, {}, 0, 0)) {
        windows.TranslateMessage(message);
        windows.DispatchMessage(message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int Entry(Installer& installer, std::string_view commandLine, int showCommand) {
    installer.commandLine = std::string(commandLine);
    if (AnotherCopyRuns(installer))
        return 0;
    if (!StartUp(installer, showCommand)) {
        FreeInf(installer.scripts);
        return 0;
    }
    int exitCode = RunMessageLoop(installer.windows);
    FreeInf(installer.scripts);
    if (installer.options.deleteInstaller)
        DeleteInstallerFiles(installer);
    return exitCode;
}

bool CreateMainWindow(Installer& installer, int showCommand) {
    WindowSystem& windows = installer.windows;
    int width = windows.GetSystemMetrics(SM_CXSCREEN) - 1;
    int height = windows.GetSystemMetrics(SM_CYSCREEN) - 1;
    WindowHandle window =
        windows.CreateWindow(kMainWindowClass, kMainWindowTitle, WS_POPUP | WS_MAXIMIZE | WS_BORDER,
                             0, 0, width, height, {}, 0, 0);
    if (!window)
        return false;
    installer.mainWindow = window;
    windows.ShowWindow(window, showCommand);
    windows.UpdateWindow(window);
    if (!IsNoDriverSwitch(installer.commandLine))
        windows.SendMessage(window, kStepDriver, 0, 0);
    return true;
}

void DeleteInstallerFiles(Installer& installer) {
    constexpr std::array<std::string_view, 2> kNames = {"tlins32a.dll", "tlins32a.exe"};
    FileSystem& files = installer.platform.files;
    for (std::string_view name : kNames) {
        std::string path = JoinPath(installer.paths.systemDir, name);
        if (files.GetFileAttributes(path) != kInvalidFileAttributes)
            files.DeleteFile(path);
    }
}

} // namespace tl
