// Injected file-system faults during the default install of the sample disk: every call of each
// kind failed in turn (a sample of them unless TL_FAULT_SWEEP=full), and the process stopped
// right after a write. Nothing that existed before may be lost, a failure must show, and a crash
// must leave the INI files and the registry whole, so that the next install completes.
#include "scenario.h"

#include "platform/host/ini_text.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

using Files = std::map<std::string, std::string>;

constexpr std::array<const char*, 5> kKinds{"create", "write", "move", "delete", "read"};
constexpr std::array<int, 3> kErrors{5, 32, 112};
// The files a crash must leave whole, host paths below the machine folder (as tlmachine makes
// them).
constexpr std::array<const char*, 4> kKeptWhole{"drive_c/WINDOWS/WIN.INI",
                                                "drive_c/WINDOWS/SYSTEM.INI",
                                                "drive_c/WINDOWS/tlsetup.ini", "registry.reg"};

Files Snapshot(const fs::path& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().lexically_relative(root).string();
        if (!entry.is_regular_file() || name == "transcript.jsonl" || name == "answers.ini" ||
            name == "counts.txt" || name == "machine.ini" || name == "tlins32a.lock")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[name] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

bool FullSweep() {
    const char* sweep = std::getenv("TL_FAULT_SWEEP");
    return sweep != nullptr && std::string(sweep) == "full";
}

// The calls to try out of `count`: all of them in the full sweep, else the first, one in the
// middle and the last.
std::vector<std::uint64_t> Chosen(std::uint64_t count) {
    std::set<std::uint64_t> chosen;
    if (FullSweep()) {
        for (std::uint64_t n = 1; n <= count; ++n)
            chosen.insert(n);
    } else if (count > 0) {
        chosen = {1, (count + 1) / 2, count};
    }
    return {chosen.begin(), chosen.end()};
}

class FaultSweep : public Scenario {
protected:
    // A fresh PC with the plan in its machine.ini; the files before the run in `before`.
    RunOutcome RunWith(const std::string& faults, Files* before = nullptr) {
        ScenarioMachine& pc = MakeMachine();
        std::ifstream plain(pc.Root() / "machine.ini", std::ios::binary);
        plainIni = std::string(std::istreambuf_iterator<char>(plain), {});
        std::ofstream(pc.Root() / "machine.ini", std::ios::binary | std::ios::app)
            << "\n[Faults]\n"
            << faults << "\n";
        if (before)
            *before = Snapshot(pc.Root());
        return Run();
    }

    void SetUp() override {
        fs::copy(TL_SOURCE_DIR "/examples/disk", disk.Root(), fs::copy_options::recursive);
        Files before;
        RunOutcome reference = RunWith("CountFile=counts.txt", &before);
        ASSERT_EQ(reference.program.exitCode, kExitInstalledRestart) << reference.program.err;
        ASSERT_EQ(reference.State(), 5);
        original = before;
        installed = Snapshot(Machine().Root());
        std::ifstream counts(Machine().Root() / "counts.txt");
        for (std::string line; std::getline(counts, line);) {
            const std::size_t eq = line.find('=');
            calls[line.substr(0, eq)] = std::stoull(line.substr(eq + 1));
        }
        ASSERT_EQ(calls.size(), kKinds.size());
    }

    // Every file there before the run is there, whole: as it was, or as the install makes it;
    // the INI files and the registry, which the run changes step by step, end with a whole line.
    void ExpectNothingLost(const std::string& what) {
        const Files now = Snapshot(Machine().Root());
        for (const auto& [name, bytes] : original) {
            const auto found = now.find(name);
            if (found == now.end()) {
                ADD_FAILURE() << what << ": " << name << " lost";
                continue;
            }
            const std::string& text = found->second;
            if (std::find(kKeptWhole.begin(), kKeptWhole.end(), name) != kKeptWhole.end()) {
                EXPECT_TRUE(text.empty() || text.back() == '\n')
                    << what << ": " << name << " ends in the middle of a line";
                continue;
            }
            const auto done = installed.find(name);
            EXPECT_TRUE(text == bytes || (done != installed.end() && text == done->second))
                << what << ": " << name << " is neither as it was nor as installed";
        }
    }

    std::string plainIni; // the PC's machine.ini without the plan
    Files original;       // the PC before the install
    Files installed;      // the PC after an uninterrupted install
    std::map<std::string, std::uint64_t> calls;
};

TEST_F(FaultSweep, EveryFailedCallLosesNothing) {
    int tried = 0;
    std::vector<std::string> unnoticed; // runs that still ended "finished", with no error event
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
        for (std::uint64_t n : Chosen(calls[kKinds[k]])) {
            const int error = kErrors[(n + k) % kErrors.size()];
            const std::string plan = std::string("Fail=") + kKinds[k] + " " + std::to_string(n) +
                                     " " + std::to_string(error);
            RunOutcome run = RunWith(plan);
            ++tried;
            // The run ends, with whatever status the failure earned, or stops naming what it waits for.
            EXPECT_TRUE(run.Ended() || run.program.exitCode == 3)
                << plan << ": exit " << run.program.exitCode << " " << run.program.err;
            if (run.State() == 5 && run.transcript.Events("error").empty())
                unnoticed.push_back(plan);
            ExpectNothingLost(plan);
        }
    }
    // Failures the installer passes over without a word are listed in docs/reliability.md;
    // the list is printed so that a sweep shows where they are.
    for (const std::string& plan : unnoticed)
        std::cout << "unnoticed: " << plan << "\n";
    RecordProperty("failed_calls", tried);
    RecordProperty("unnoticed", static_cast<int>(unnoticed.size()));
}

TEST_F(FaultSweep, StopAfterEveryWriteLeavesWholeFilesAndTheNextInstallCompletes) {
    int tried = 0;
    for (std::uint64_t n : Chosen(calls["write"])) {
        const std::string plan = "StopAfterWrite=" + std::to_string(n);
        RunOutcome stopped = RunWith(plan);
        ++tried;
        EXPECT_NE(stopped.program.exitCode, 0) << plan << ": the run did not stop";
        const Files now = Snapshot(Machine().Root());
        for (const char* name : kKeptWhole) {
            const auto found = now.find(name);
            if (found == now.end())
                continue; // not made yet (tlsetup.ini) is a state the run passes through
            const bool known = found->second == installed.at(name) ||
                               (original.contains(name) && found->second == original.at(name));
            const std::string& text = found->second;
            // A torn write leaves a last line without its end.
            EXPECT_TRUE(known || text.empty() || text.back() == '\n')
                << plan << ": " << name << " ends in the middle of a line";
        }
        ExpectNothingLost(plan);
        EXPECT_TRUE(Machine().Show()["problems"].empty()) << plan;
        // The same PC, installed again without faults.
        std::ofstream(Machine().Root() / "machine.ini", std::ios::binary | std::ios::trunc)
            << plainIni;
        RunOutcome again = Run();
        EXPECT_EQ(again.program.exitCode, kExitInstalledRestart) << plan << ": " << again.program.err;
        EXPECT_EQ(again.State(), 5) << plan << ": the second install did not complete";
    }
    RecordProperty("crash_points", tried);
}

} // namespace
} // namespace tl::test
