// The command line of tlins32a.exe. Started as Windows starts it, everything after the program's
// name is the installer's own command line ("/ND"). Started for an unattended run:
//   tlins32a.exe [--answers FILE] [--transcript FILE] [--screenshots DIR]
//                [--record-answers FILE] [-- COMMANDLINE]
// where COMMANDLINE, the words after "--" joined by single blanks, is what the installer sees.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tl::app {

struct WindowsOptions {
    std::optional<std::wstring> answers;
    std::optional<std::wstring> transcript;
    std::optional<std::wstring> screenshots;
    std::optional<std::wstring> recordAnswers; // the run's answers, written as it goes
    std::optional<std::wstring> settings;      // TLREMOVE.EXE --settings NAME
    std::wstring commandLine;
    bool help = false;
    // --answers was given (even without a usable value): nothing may wait for a person.
    bool unattended = false;
};

struct WindowsOptionsParse {
    WindowsOptions options;
    std::wstring error; // empty when the command line is usable; the options read all the same
};

// `whole` is the process's command line as GetCommandLineW gives it, program name included.
// `removal`: the removal program's options (--settings NAME as well).
WindowsOptionsParse ParseWindowsCommandLine(std::wstring_view whole, bool removal = false);

extern const wchar_t* const kWindowsUsage;
extern const wchar_t* const kRemovalWindowsUsage;

} // namespace tl::app
