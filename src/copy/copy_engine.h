// The copy run: installs every file of the copy list, expanding compressed sources, creating
// destination directories, adding device lines, making backups, asking for font disks,
// checking and registering fonts, and recording each destination in the private settings file.
#pragma once

#include "platform/window_types.h"

#include <functional>
#include <string_view>

namespace tl {

struct Installer;

// Notification codes of a run.
inline constexpr int kNotifyStart = 5;    // once at the start
inline constexpr int kNotifyFile = 2;     // value 0: name shown; value 100: bar advanced
inline constexpr int kNotifyFinish = 6;   // once on every way out
inline constexpr int kNotifyFileName = 0; // value of kNotifyFile
inline constexpr int kNotifyFileStep = 100;

// (owner, code, value, file name or empty) -> 1.
using CopyCallback = std::function<int(WindowHandle, int, int, std::string_view)>;

// What the step sequencer hands to the run: sets the error mode for the run, redraws the file
// name and advances the progress bar. Always 1; codes and values it does not know do nothing.
int CopyNotify(Installer& installer, WindowHandle owner, int code, int value,
               std::string_view fileName);

// How a copy run ended. The run posts no step: the step that ran it decides what comes next.
enum class CopyOutcome {
    Done,      // every entry was handled
    Failed,    // installation state 1, except for a directory that cannot be made (unchanged)
    Cancelled, // the user cancelled (state unchanged); a replace question that cannot be shown
               // counts as a cancel
};

// Walks the copy list once. Each file is written under a temporary name and takes the place of
// its destination only when complete. `notify` may be empty.
[[nodiscard]] CopyOutcome RunCopyList(Installer& installer, WindowHandle owner,
                                      const CopyCallback& notify);

} // namespace tl
