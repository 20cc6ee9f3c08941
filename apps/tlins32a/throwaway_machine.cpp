#include "throwaway_machine.h"

#include "platform/host/machine_config.h"

#include <cstdlib>
#include <fstream>

namespace tl::app {
namespace {

namespace fs = std::filesystem;

// Whether `folder` lies inside `machine`, links resolved.
bool Inside(const fs::path& folder, const fs::path& machine) {
    std::error_code error;
    const fs::path base = fs::canonical(machine, error);
    const fs::path resolved = fs::weakly_canonical(folder, error);
    if (error)
        return false;
    const fs::path relative = resolved.lexically_relative(base);
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

std::unique_ptr<ThrowawayMachine>
ThrowawayMachine::Make(const fs::path& machine, const CodePage& codePage, std::string& error) {
    const host::MachineConfigResult loaded = host::LoadMachineConfig(machine, codePage);
    if (!loaded.config) {
        error = loaded.error;
        return nullptr;
    }
    std::error_code failure;
    std::string pattern = (fs::temp_directory_path(failure) / "tlins32a-dry-run-XXXXXX").string();
    if (failure || ::mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a temporary folder for the dry run";
        return nullptr;
    }
    std::unique_ptr<ThrowawayMachine> copy(
        new ThrowawayMachine(pattern, fs::path(pattern) / "machine"));
    // Links are followed: what a link inside the machine folder reaches is copied, never shared.
    fs::copy(machine, copy->machine_, fs::copy_options::recursive, failure);
    if (failure) {
        error = "cannot copy the machine folder for the dry run (" + failure.message() + ")";
        return nullptr;
    }
    // A section written again adds to the first, a key written again wins.
    std::string drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const host::DriveConfig& drive = loaded.config->Drive(letter);
        if (drive.state != host::DriveConfig::State::Present || Inside(drive.folder, machine))
            continue;
        const fs::path absolute = fs::absolute(drive.folder, failure);
        drives += "[Drives]\n" + std::string(1, letter) + "=" + absolute.string() + "\n[Drive." +
                  std::string(1, letter) + "]\nReadOnly=1\n";
    }
    if (!drives.empty()) {
        std::ofstream ini(copy->machine_ / "machine.ini", std::ios::binary | std::ios::app);
        ini << "\n" << drives;
        if (!ini.flush()) {
            error = "cannot write the dry run's machine.ini";
            return nullptr;
        }
    }
    return copy;
}

ThrowawayMachine::~ThrowawayMachine() {
    Remove();
}

void ThrowawayMachine::Remove() {
    if (temporary_.empty())
        return;
    std::error_code ignored;
    fs::remove_all(temporary_, ignored);
    temporary_.clear();
}

} // namespace tl::app
