// The throwaway copy of a machine folder that a dry run installs on: the folder copied whole into
// a new temporary folder, with every drive whose folder lies outside the machine folder (named in
// [Drives]) kept where it is but write-protected for the run, so that nothing outside the copy
// can change. The copy is removed with the object.
#pragma once

#include "platform/code_page.h"

#include <filesystem>
#include <memory>
#include <string>

namespace tl::app {

class ThrowawayMachine {
public:
    // None, with the reason in `error`, when the copy cannot be made.
    static std::unique_ptr<ThrowawayMachine> Make(const std::filesystem::path& machine,
                                                  const CodePage& codePage, std::string& error);
    ~ThrowawayMachine();
    ThrowawayMachine(const ThrowawayMachine&) = delete;
    ThrowawayMachine& operator=(const ThrowawayMachine&) = delete;

    // The temporary folder that holds the copy, and the copy itself.
    const std::filesystem::path& Folder() const { return machine_; }
    // Removes the copy now (a run that stops leaves through std::exit, past every destructor).
    void Remove();

private:
    ThrowawayMachine(std::filesystem::path temporary, std::filesystem::path machine)
        : temporary_(std::move(temporary)), machine_(std::move(machine)) {}

    std::filesystem::path temporary_;
    std::filesystem::path machine_;
};

} // namespace tl::app
