// What the installation steps of the main window share: their messages and questions, the
// repaint, the wait cursor around long work, the copy run with its progress display, and the
// setup scripts they load and release in turn.
#pragma once

#include "copy/copy_engine.h"
#include "platform/window_system.h"
#include "resources/text_id.h"
#include "state/inf_scripts.h"

#include <optional>
#include <string>
#include <string_view>

namespace tl {

struct Installer;

// Captions of the step messages.

// Posts the next step to the main window.
void PostStep(Installer& installer, WindowHandle window, UINT step);

// A message box under caption `caption` with OK and `icon`; `key` names the message.
void ShowStepMessage(Installer& installer, WindowHandle owner, std::string_view text,
                     unsigned caption, UINT icon, std::string_view key);
// String `id` with the install caption and the error icon.
void ShowStepError(Installer& installer, WindowHandle owner, unsigned id);
// `name` followed by " cannot be found", install caption, error icon; recorded as an error.
void ReportMissingFile(Installer& installer, WindowHandle owner, std::string_view name);

// Question `id` with the question caption, Yes and No: true for Yes.
bool AskYesNo(Installer& installer, WindowHandle owner, unsigned id);

// `pattern` with its first "%s" replaced by `argument`.
std::string FormatText(std::string_view pattern, std::string_view argument);

// Invalidates the whole window and paints it at once.
void Repaint(Installer& installer, WindowHandle window);

// While it lives the mouse is captured by the window and the wait cursor shown; the previous
// cursor comes back and the capture is released when it goes.
class BusyCursor {
public:
    BusyCursor(Installer& installer, WindowHandle window);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    WindowSystem& windows_;
    Cursor previous_;
};

// Opens the progress display, runs the copy list with CopyNotify, closes the display. How the
// run ended; it posted no step.
CopyOutcome CopyWithProgress(Installer& installer, WindowHandle window);

// What MarkInstalling does with a restart already known to be needed.
enum class PendingRestart { Clear, Keep };

// Sets the installation state to Installed before a copy run, leaving RestartNeeded in place
// with PendingRestart::Keep.
void MarkInstalling(Installer& installer, PendingRestart pending);

// The copy run of the demonstration and fonts steps, with the wait cursor: the state becomes 4
// unless it is 5. A run that stopped without a failure (the user cancelled) installed nothing to
// report, so the state it found is put back. How the run ended.
CopyOutcome CopyAddedFiles(Installer& installer, WindowHandle window);

// Loads the script at `path`, reporting what went wrong to `owner`: a missing file by its
// `name` and " cannot be found", a script that cannot be loaded with 133 and one that holds
// nothing with 131. The script, or none after the report.
std::optional<InfScript> LoadStepScript(Installer& installer, WindowHandle owner,
                                        std::string_view path, std::string_view name);

// Reports a script that did not load (133) or loaded empty (131) with the install caption, and
// records which file it was.
void ReportScriptNotLoaded(Installer& installer, WindowHandle owner, std::string_view path,
                           InfLoadStatus status);

// Whether the file exists.
bool StepFileExists(Installer& installer, std::string_view path);

// Writes `value` to `key` of section "Install" of the private settings file.
void WriteInstallSetting(Installer& installer, const char* key, const std::string& value);

} // namespace tl
