#include "init_command.h"

#include "platform/host/iconv_code_page.h"
#include "platform/host/registry_host.h"

#include <fstream>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

bool WriteHostFile(const fs::path& path, std::string_view bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = path.string() + ": cannot be written";
        return false;
    }
    return true;
}

bool WriteTemplate(const fs::path& folder, const host::MachineTemplate& machine,
                   const CodePage& codePage, std::string& error) {
    if (!WriteHostFile(folder / "machine.ini", machine.machineIni, error)) {
        return false;
    }
    std::error_code ec;
    for (const auto& directory : machine.directories) {
        std::optional<fs::path> path = host::TemplateHostPath(folder, directory);
        if (!path || (fs::create_directories(*path, ec), ec)) {
            error = "cannot make " + codePage.ToUtf8(directory);
            return false;
        }
    }
    for (const auto& file : machine.files) {
        std::optional<fs::path> path = host::TemplateHostPath(folder, file.windowsPath);
        if (!path || !WriteHostFile(*path, file.bytes, error)) {
            error = "cannot write " + codePage.ToUtf8(file.windowsPath);
            return false;
        }
    }
    host::HostRegistry registry(folder / "registry.reg");
    if (!registry.Load(error)) {
        return false;
    }
    for (const auto& key : machine.registryKeys) {
        registry.Tree().Create(key);
    }
    for (const auto& value : machine.registry) {
        host::RegistryKey* key = registry.Tree().Create(value.key);
        if (key == nullptr) {
            error = "cannot make the registry key " + codePage.ToUtf8(value.key);
            return false;
        }
        key->SetValue(value.name, value.type, value.data);
    }
    if (registry.Save() != kErrorSuccess) {
        error = (folder / "registry.reg").string() + ": cannot be written";
        return false;
    }
    return true;
}

} // namespace

bool InitMachineFolder(const fs::path& folder, const host::MachineTemplateOptions& options,
                       std::string& error) {
    host::IconvCodePage codePage;
    host::MachineTemplateResult built = host::BuildMachineTemplate(options, codePage);
    if (!built.machine) {
        error = built.error;
        return false;
    }
    std::error_code ec;
    const bool exists = fs::exists(folder, ec);
    if (exists && (!fs::is_directory(folder, ec) || !fs::is_empty(folder, ec))) {
        error = folder.string() + ": already exists and is not an empty folder";
        return false;
    }
    fs::path absolute = fs::absolute(folder, ec).lexically_normal();
    if (absolute.filename().empty()) {
        absolute = absolute.parent_path(); // "DIR/" names DIR
    }
    fs::path staging =
        absolute.parent_path() / ("." + absolute.filename().string() + ".tlmachine-new");
    fs::remove_all(staging, ec);
    if (!fs::create_directories(staging, ec)) {
        error = staging.string() + ": cannot be made (" + ec.message() + ")";
        return false;
    }
    if (!WriteTemplate(staging, *built.machine, codePage, error)) {
        fs::remove_all(staging, ec);
        return false;
    }
    if (exists) {
        fs::remove(folder, ec);
    }
    fs::rename(staging, folder, ec);
    if (ec) {
        error = folder.string() + ": cannot be put in place (" + ec.message() + ")";
        fs::remove_all(staging, ec);
        return false;
    }
    return true;
}

} // namespace tl::tools
