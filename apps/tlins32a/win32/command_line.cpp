#include "command_line.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <vector>

namespace tl::app {
namespace {

// What follows the program's name, as the system gives it to WinMain: the name is one quoted
// or unquoted word, then the blanks after it are skipped.
std::wstring_view AfterProgramName(std::wstring_view whole) {
    std::size_t i = 0;
    if (!whole.empty() && whole[0] == L'"') {
        i = whole.find(L'"', 1);
        i = i == std::wstring_view::npos ? whole.size() : i + 1;
    } else {
        while (i < whole.size() && whole[i] != L' ' && whole[i] != L'\t')
            ++i;
    }
    while (i < whole.size() && (whole[i] == L' ' || whole[i] == L'\t'))
        ++i;
    return whole.substr(i);
}

std::vector<std::wstring> Words(std::wstring_view text) {
    std::vector<std::wstring> words;
    // CommandLineToArgvW reads its first word as a program name: give it one.
    std::wstring line = L"x " + std::wstring(text);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    if (!argv)
        return words;
    for (int i = 1; i < count; ++i)
        words.emplace_back(argv[i]);
    LocalFree(argv);
    return words;
}

} // namespace

const wchar_t* const kWindowsUsage =
    L"usage: tlins32a.exe [--answers FILE] [--transcript FILE] [--screenshots DIR]\n"
    L"                    [--record-answers FILE] [-- COMMANDLINE]\n"
    L"\n"
    L"Without options: the printer-driver and font installer, with what follows the program's\n"
    L"name as its command line (e.g. /ND).\n"
    L"  --answers FILE     answers for message boxes and dialogs (INI, UTF-8): an unattended\n"
    L"                     run on the real dialogs; what it does not answer takes its default\n"
    L"  --transcript FILE  write what happened as JSON Lines (UTF-8)\n"
    L"  --screenshots DIR  unattended: save a picture of the screen (NN-NAME.bmp) as each\n"
    L"                     dialog and message box is answered\n"
    L"  --record-answers FILE\n"
    L"                     write, as the run goes, an answers file that replays it with\n"
    L"                     --answers (interactive or not)\n"
    L"  -- COMMANDLINE     the installer's command line, e.g. -- /ND\n"
    L"\n"
    L"Exit status: the installer's own exit code; 2 for unusable options or answers; 3 when an\n"
    L"unattended run cannot go on.\n";

const wchar_t* const kRemovalWindowsUsage =
    L"usage: TLREMOVE.EXE [--answers FILE] [--transcript FILE] [--settings NAME]\n"
    L"\n"
    L"Removes what the installer installed, from the records in its settings file, and puts\n"
    L"back what was there before.\n"
    L"  --answers FILE     answers for message boxes and dialogs (INI, UTF-8): an unattended\n"
    L"                     run; exit status 0 removed, 3010 removed and Windows must\n"
    L"                     restart, 1602 cancelled, 1603 something could not be removed\n"
    L"  --transcript FILE  write what happened as JSON Lines (UTF-8)\n"
    L"  --settings NAME    the settings file in the Windows directory (default: the one\n"
    L"                     INSTALL.INF beside the program names, else tlsetup.ini)\n";

WindowsOptionsParse ParseWindowsCommandLine(std::wstring_view whole, bool removal) {
    WindowsOptionsParse parse;
    std::wstring_view rest = AfterProgramName(whole);
    if (rest.substr(0, 2) != L"--") {
        parse.options.commandLine = std::wstring(rest);
        return parse;
    }
    std::vector<std::wstring> words = Words(rest);
    WindowsOptions& options = parse.options;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (word == L"--") {
            for (std::size_t j = i + 1; j < words.size(); ++j) {
                if (!options.commandLine.empty())
                    options.commandLine += L' ';
                options.commandLine += words[j];
            }
            break;
        }
        if (word == L"--help") {
            options.help = true;
            continue;
        }
        std::optional<std::wstring>* target = nullptr;
        if (word == L"--answers") {
            target = &options.answers;
            options.unattended = true;
        } else if (word == L"--transcript")
            target = &options.transcript;
        else if (word == L"--screenshots")
            target = &options.screenshots;
        else if (word == L"--record-answers" && !removal)
            target = &options.recordAnswers;
        else if (word == L"--settings" && removal)
            target = &options.settings;
        // After an unusable word the rest is still read, so that a run asked to be unattended
        // is known to be one and reports the error as such.
        if (!target) {
            if (parse.error.empty())
                parse.error = L"unknown option: " + word;
            continue;
        }
        if (i + 1 >= words.size()) {
            if (parse.error.empty())
                parse.error = word + L" needs a value";
            break;
        }
        *target = words[++i];
    }
    return parse;
}

} // namespace tl::app
