// `tlmachine init`: writes a fresh machine folder from the machine template.
#pragma once

#include "platform/host/machine_template.h"

#include <filesystem>
#include <string>

namespace tl::tools {

// Makes `folder` (which must not exist, or be empty) a machine folder. The folder is built
// beside it under a temporary name and renamed into place, so a failure leaves nothing half
// made. False with a message (UTF-8) on failure.
bool InitMachineFolder(const std::filesystem::path& folder,
                       const host::MachineTemplateOptions& options, std::string& error);

} // namespace tl::tools
