#include "disk_check.h"

#include "check_context.h"

#include "destination/disk_space.h"
#include "platform/host/direct_file_system.h"
#include "state/inf_query.h"

#include <fstream>
#include <sstream>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kInstallInf = "INSTALL.INF";

// The script at the disk path `name`, loaded by the installer's reader; why not when it cannot be.
std::string LoadScript(const CheckContext& context, std::string_view name, CheckedScript& script) {
    const std::optional<fs::path> found = FindOnDisk(context.resolver.Disk(), name);
    if (!found)
        return "is not on the disk";
    host::DirectFileSystem files;
    const InfLoadResult load = LoadInf(script.scripts, files, found->string());
    if (load.status == InfLoadStatus::Empty)
        return "is empty";
    if (load.status != InfLoadStatus::Loaded)
        return "cannot be read as a setup script";
    std::ifstream in(*found, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    script.name = std::string(name);
    script.index = InfLineIndex(bytes.str());
    return {};
}

void CheckDriverSpace(CheckContext& context, const CheckedScript& install, std::uint64_t bytes) {
    const std::optional<InfLine> line =
        FindInfSection(install.scripts, std::nullopt, "NEEDED.DiskSpace");
    if (!line)
        return;
    const std::int64_t kilobytes =
        ParseSpaceNeeded(InfLineText(install.scripts, *line).value_or(""));
    // The space check counts kilobytes of 1,000 bytes.
    if (kilobytes < 0 || static_cast<std::uint64_t>(kilobytes) * 1000 < bytes)
        context.Add(install, "NEEDED.DiskSpace", 0, kSpaceTooSmall,
                    std::to_string(kilobytes) + " KB, but the largest model's files take " +
                        std::to_string(bytes) + " bytes");
}

} // namespace

DiskCheckResult CheckDisk(const fs::path& disk) {
    DiskCheckResult result;
    std::error_code error;
    if (!fs::is_directory(disk, error)) {
        result.error = "not a folder";
        return result;
    }
    CheckContext context(disk);
    CheckedScript install;
    const std::string installError = LoadScript(context, kInstallInf, install);
    if (!installError.empty()) {
        result.error = std::string(kInstallInf) + " " + installError;
        return result;
    }
    result.readable = true;
    GetInfDotted(install.scripts, "PRINTERDRIVER.Path", context.folder);

    CheckBlanks(context, install);
    CheckInstallInf(context, install);

    std::string catalogueName;
    if (const auto line = FindInfSection(install.scripts, std::nullopt, "OEM.INF"))
        catalogueName = InfLineText(install.scripts, *line).value_or("");
    if (!catalogueName.empty()) {
        const std::string path =
            context.folder.empty() ? catalogueName : context.folder + "\\" + catalogueName;
        CheckedScript catalogue;
        const std::string catalogueError = LoadScript(context, path, catalogue);
        if (catalogueError.empty()) {
            CheckBlanks(context, catalogue);
            CheckDriverSpace(context, install, CheckCatalogue(context, catalogue));
        } else {
            context.Add(install, "OEM.INF", 0, kMissingFile,
                        "the catalogue " + path + " " + catalogueError);
        }
    }
    result.findings = std::move(context.findings);
    return result;
}

} // namespace tl::tools
