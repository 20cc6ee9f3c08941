// `tlmachine init`: writes a fresh machine folder from the machine template.
#pragma once

#include "platform/host/machine_template.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace tl::tools {

// Printers already installed on the new PC (ANSI names), registered through the host spooler as
// an installer would register them.
struct InstalledPrinters {
    std::vector<std::string> drivers; // each with a driver file of its own in the system directory
    std::vector<std::pair<std::string, std::string>> printers; // printer name, driver name
};

// Makes `folder` (which must not exist, or be empty) a machine folder. The folder is built
// beside it under a temporary name and renamed into place, so a failure leaves nothing half
// made. False with a message (UTF-8) on failure.
bool InitMachineFolder(const std::filesystem::path& folder,
                       const host::MachineTemplateOptions& options,
                       const InstalledPrinters& installed, std::string& error);

} // namespace tl::tools
