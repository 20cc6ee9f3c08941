// Whole runs of the built tlins32a: an install disk made by the test, a PC made by tlmachine,
// an answers file, then the machine's files, INI files, registry and the transcript.
#pragma once

#include "support/install_disk.h"
#include "support/program_run.h"
#include "support/scenario_machine.h"
#include "support/temp_machine.h"
#include "support/transcript_lines.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

// The standard disk: INSTALL.INF and the tag files at the root; the catalogue OEMSETUP.INF, two
// models (Telmora 600, Telmora 300) with their drivers, a virtual device driver, monitor and
// print-processor libraries, a help file stored compressed under another name, a new
// parallel-port driver, a demonstration file and two fonts (one on disk 2) in the driver folder
// WIN95\. Its [DeleteIni] asks before removing BIDI.386 from SYSTEM.INI and tells before removing
// TLSTAT.EXE from WIN.INI.
void WriteStandardDisk(const TempFolder& disk, const std::string& folder = "WIN95");
// What an unattended run exits with, as a POSIX parent sees it (the status modulo 256).
inline constexpr int kExitInstalledRestart = 3010 % 256;
inline constexpr int kExitInstallFailed = 1603 % 256;

// The version of the drivers on the standard disk.
inline constexpr std::array<std::uint16_t, 4> kDiskDriverVersion{5, 1, 0, 2};

// Every file below `root` (links not followed) by its path with "/": its bytes, "link to X" or
// "<dir>".
std::map<std::string, std::string> Listing(const std::filesystem::path& root);
// A machine folder's files without what the test harness keeps there (answers, transcripts,
// machine.ini, the lock and the fault counters).
std::map<std::string, std::string> MachineFiles(const std::filesystem::path& root);
// What a run may change of a machine folder: its registry, lock, answers and transcript files,
// and with `windowsDirectories` the files directly in the Windows, system and font directories.
bool MayChange(const std::string& relative, bool windowsDirectories = true);

// `text` with its first `from` replaced by `to` (the test fails when `from` is not there).
std::string Replaced(std::string text, std::string_view from, std::string_view to);

struct RunOutcome {
    ProgramRun program;
    TranscriptLines transcript;

    std::vector<std::string> Story() const { return transcript.Story(); }
    int State() const;
    // The run came to its end (it was not stopped, and did not crash): the transcript's end
    // carries the exit status, which the exit code shows modulo 256, and the program's own
    // exit code 0. How the run went is the status's to say (the exit-status scenario).
    bool Ended() const;
};

class Scenario : public ::testing::Test {
protected:
    Scenario();

    // Makes the PC with these `tlmachine init` options (a default PC is made otherwise).
    ScenarioMachine& MakeMachine(const std::vector<std::string>& initOptions = {});
    ScenarioMachine& Machine();

    // Runs tlins32a (or tlremove) on the disk and the PC with the answers given so far; the
    // command line follows "--" when not empty.
    RunOutcome Run(const std::string& commandLine = "", const std::string& program = "tlins32a");

    // Adds lines to the PC's machine.ini (a fault plan, files in use) until DropMachineLines.
    void AddMachineLines(const std::string& lines);
    void DropMachineLines();

    // The private settings file's value, or "" when absent.
    std::string Setting(std::string_view key);

    std::filesystem::path bin;
    TempFolder disk{"tldisk-"};
    std::string answers; // the answers file's text (UTF-8 INI)

private:
    std::unique_ptr<ScenarioMachine> machine_;
    std::string plainMachineIni_; // machine.ini without the lines added
};

} // namespace tl::test
