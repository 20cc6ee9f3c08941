#include "options.h"

namespace tl::app {

const char* const kUsage =
    "usage: tlins32a --machine DIR [--disk DIR] [--disk-writable] [--answers FILE]\n"
    "                [--transcript FILE] [--record-answers FILE] [--dry-run [--json]]\n"
    "                [-- COMMANDLINE]\n"
    "\n"
    "Runs the printer-driver and font installer against a simulated Windows 95 PC.\n"
    "  --machine DIR      the machine folder (machine.ini, drive_c/, registry.reg)\n"
    "  --disk DIR         the install disk, as drive A: (the program is A:\\TLINS32A.EXE)\n"
    "  --disk-writable    the install disk may be written to (it is write-protected,\n"
    "                     as a floppy with its tab open, without this)\n"
    "  --answers FILE     answers for message boxes and dialogs (INI, UTF-8); without it,\n"
    "                     and without a terminal, every question takes its default\n"
    "  --transcript FILE  write what happened as JSON Lines (UTF-8)\n"
    "  --record-answers FILE\n"
    "                     write, as the run goes, an answers file that replays it with\n"
    "                     --answers: each message box's answer, each dialog's changed\n"
    "                     controls and the button that closed it\n"
    "  --dry-run          install on a throwaway copy of the machine folder (drives outside\n"
    "                     it and the install disk write-protected) and print what would\n"
    "                     change; the machine folder is not touched, the exit status is\n"
    "                     the one the real run would have\n"
    "  --json             with --dry-run: the changes as one JSON document\n"
    "  -- COMMANDLINE     the text the system passes to the program, e.g. -- /ND\n"
    "\n"
    "Exit status: the program's own exit code; 2 for unusable arguments, machine or answers;\n"
    "3 when an unattended run cannot go on (an answer refused, a wait for input that cannot\n"
    "come).\n";

const char* const kRemovalUsage =
    "usage: tlremove --machine DIR [--disk DIR] [--answers FILE] [--transcript FILE]\n"
    "                [--settings NAME]\n"
    "\n"
    "Removes what the installer installed on a simulated Windows 95 PC, from the records in\n"
    "its settings file, and puts back what was there before.\n"
    "  --machine DIR      the machine folder (machine.ini, drive_c/, registry.reg)\n"
    "  --disk DIR         the install disk, as drive A:, whose INSTALL.INF names the\n"
    "                     settings file ([PRIVATE.INI]); without it, tlsetup.ini\n"
    "  --answers FILE     answers for message boxes and dialogs (INI, UTF-8)\n"
    "  --transcript FILE  write what happened as JSON Lines (UTF-8)\n"
    "  --settings NAME    the settings file in the Windows directory\n"
    "\n"
    "Exit status of an unattended run: 0 removed, 3010 removed and Windows must restart,\n"
    "1602 cancelled, 1603 something could not be removed; 2 for unusable arguments,\n"
    "machine or answers; 3 when an answer is refused.\n";

OptionsParse ParseOptions(const std::vector<std::string>& arguments, bool removal) {
    OptionsParse parse;
    Options& options = parse.options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--" && !removal) {
            for (std::size_t j = i + 1; j < arguments.size(); ++j) {
                if (!options.commandLine.empty())
                    options.commandLine += ' ';
                options.commandLine += arguments[j];
            }
            break;
        }
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            continue;
        }
        if (argument == "--disk-writable") {
            options.diskWritable = true;
            continue;
        }
        if ((argument == "--dry-run" || argument == "--json") && !removal) {
            (argument == "--json" ? options.json : options.dryRun) = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        std::string* required = nullptr;
        if (argument == "--machine")
            required = &options.machine;
        else if (argument == "--disk")
            target = &options.disk;
        else if (argument == "--answers")
            target = &options.answers;
        else if (argument == "--transcript")
            target = &options.transcript;
        else if (argument == "--record-answers" && !removal)
            target = &options.recordAnswers;
        else if (argument == "--settings" && removal)
            target = &options.settings;
        else {
            parse.error = "unknown argument: " + argument;
            return parse;
        }
        if (i + 1 >= arguments.size()) {
            parse.error = argument + " needs a value";
            return parse;
        }
        if (required)
            *required = arguments[++i];
        else
            *target = arguments[++i];
    }
    if (!options.help && options.machine.empty())
        parse.error = "--machine DIR is required";
    else if (options.json && !options.dryRun)
        parse.error = "--json goes with --dry-run";
    else if (options.dryRun && options.diskWritable)
        parse.error =
            "--disk-writable cannot go with --dry-run: nothing outside the copy is written";
    return parse;
}

} // namespace tl::app
