// The command line of the host program:
//   tlins32a --machine DIR [--disk DIR] [--disk-writable] [--answers FILE] [--transcript FILE]
//            [--record-answers FILE] [--dry-run [--json]] [-- COMMANDLINE]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tl::app {

struct Options {
    std::string machine;
    std::optional<std::string> disk;
    std::optional<std::string> answers;
    std::optional<std::string> transcript;
    std::optional<std::string> recordAnswers; // write the run's answers here, as it goes
    std::optional<std::string> settings;      // tlremove --settings NAME: the settings file's name
    std::string commandLine;                  // the words after "--", joined by single blanks
    bool diskWritable = false; // --disk-writable: the install disk is not write-protected
    bool dryRun = false;       // --dry-run: install on a throwaway copy, print what would change
    bool json = false;         // --json: the dry run's report as one JSON document
    bool help = false;
};

struct OptionsParse {
    Options options;
    std::string error; // empty when the arguments are usable
};

// `removal`: the removal program's options (--settings NAME, and no command line after "--").
OptionsParse ParseOptions(const std::vector<std::string>& arguments, bool removal = false);

extern const char* const kUsage;
extern const char* const kRemovalUsage;

} // namespace tl::app
