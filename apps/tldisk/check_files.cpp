// The checks on a single name and the file it names: the name check the installer makes before a
// name becomes a path, the look-up the copy makes on the disk, and the expansion it does.
#include "check_context.h"

#include "platform/lz.h"
#include "text/disk_name.h"

#include <array>

namespace tl::tools {
namespace {

std::string InFolder(std::string_view folder, std::string_view name) {
    return folder.empty() ? std::string(name) : std::string(folder) + "\\" + std::string(name);
}

bool OnDisk(const CheckContext& context, const std::string& path) {
    std::error_code error;
    const std::optional<std::filesystem::path> found = FindOnDisk(context.resolver.Disk(), path);
    return found && std::filesystem::is_regular_file(*found, error);
}

} // namespace

std::string CompressedCopyName(std::string_view name) {
    std::string compressed(name);
    if (!compressed.empty())
        compressed.back() = '_';
    return compressed;
}

void CheckContext::Add(const CheckedScript& script, std::string_view section, std::size_t line,
                       std::string_view kind, std::string text) {
    findings.push_back({script.name, script.index.LineNumber(section, line), std::string(section),
                        kind, std::move(text)});
}

std::optional<std::string> LocateDiskFile(const CheckContext& context, std::string_view name) {
    for (const std::string& path :
         {InFolder(context.folder, name), InFolder(context.folder, CompressedCopyName(name))}) {
        if (OnDisk(context, path))
            return path;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> ExpandedSize(CheckContext& context, const std::string& path) {
    const auto cached = context.expanded.find(path);
    if (cached != context.expanded.end())
        return cached->second;
    OfStruct of;
    const LzHandle file = context.lz.LZOpenFile(path, of, kOfRead);
    std::optional<std::uint64_t> size;
    if (file >= 0) {
        std::array<char, 16384> buffer{};
        std::uint64_t total = 0;
        for (;;) {
            const INT n = context.lz.LZRead(file, buffer.data(), static_cast<INT>(buffer.size()));
            if (n <= 0) {
                if (n == 0)
                    size = total;
                break;
            }
            total += static_cast<std::uint64_t>(n);
        }
        context.lz.LZClose(file);
    }
    context.expanded[path] = size;
    return size;
}

bool CheckName(CheckContext& context, const CheckedScript& script, std::string_view section,
               std::size_t line, std::string_view name, std::size_t limit) {
    const DiskNameFault fault = CheckDiskName(name);
    if (fault != DiskNameFault::None) {
        context.Add(script, section, line, kRefusedName,
                    "\"" + std::string(name) + "\": " + std::string(DiskNameFaultText(fault)));
        return false;
    }
    if (name.size() > limit) {
        context.Add(script, section, line, kRefusedName,
                    "\"" + std::string(name) + "\": " + std::to_string(name.size()) +
                        " bytes, more than the " + std::to_string(limit) + " its list holds");
        return false;
    }
    return true;
}

std::optional<std::string> CheckDiskFile(CheckContext& context, const CheckedScript& script,
                                         std::string_view section, std::size_t line,
                                         std::string_view name) {
    const std::optional<std::string> path = LocateDiskFile(context, name);
    if (!path) {
        context.Add(script, section, line, kMissingFile,
                    std::string(name) + " is not on the disk, nor its compressed copy " +
                        CompressedCopyName(name));
        return std::nullopt;
    }
    if (!ExpandedSize(context, *path)) {
        context.Add(script, section, line, kBadCompressed,
                    *path + " does not expand whole (damaged or cut short)");
        return std::nullopt;
    }
    return path;
}

} // namespace tl::tools
