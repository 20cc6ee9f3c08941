#include "platform/host/machine_path_resolver.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace tl::host {
namespace {

namespace fs = std::filesystem;

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Names compare as Windows compares them on a FAT disk: ASCII letters without case, every other
// byte (Hangul included) exactly.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

bool HasInvalidCharacter(std::string_view name) {
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' ||
            c == ':') {
            return true;
        }
    }
    return false;
}

// The names of an absolute path "X:\A\B" after the drive.
std::vector<std::string_view> SplitNames(std::string_view rest) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) {
            end = rest.size();
        }
        if (end > start) {
            names.push_back(rest.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

// The host entry of `dir` whose name matches `name` without case; an exact match wins, then the
// first in name order, so that a folder holding both FOO and foo resolves the same every time.
std::optional<fs::path> FindEntry(const fs::path& dir, const std::string& name) {
    std::error_code ec;
    fs::path exact = dir / name;
    if (fs::symlink_status(exact, ec).type() != fs::file_type::not_found && !ec) {
        return exact;
    }
    std::optional<fs::path> best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        fs::path candidate = it->path();
        std::string entryName = candidate.filename().string();
        if (SameName(entryName, name) && (!best || candidate < *best)) {
            best = candidate;
        }
    }
    return best;
}

// Linux stops at 40 links on one path; so does the simulated PC.
constexpr int kMaxLinks = 40;

// Where a host path really leads: every symbolic link on the way followed, the last one too,
// also when what it names does not exist yet (creating through it would make that file). None
// for a loop or a link that cannot be read.
std::optional<fs::path> RealLocation(const fs::path& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec) {
        return std::nullopt;
    }
    std::vector<fs::path> rest(absolute.begin(), absolute.end()); // in reverse: next at the back
    std::reverse(rest.begin(), rest.end());
    fs::path real = absolute.root_path();
    int links = 0;
    while (!rest.empty()) {
        const fs::path name = std::move(rest.back());
        rest.pop_back();
        if (name.empty() || name == "." || name == absolute.root_path() || name == "/") {
            continue;
        }
        if (name == "..") {
            real = real.parent_path();
            continue;
        }
        const fs::path next = real / name;
        if (!fs::is_symlink(fs::symlink_status(next, ec))) {
            real = next;
            continue;
        }
        const fs::path target = fs::read_symlink(next, ec);
        if (ec || ++links > kMaxLinks) {
            return std::nullopt;
        }
        if (target.is_absolute()) {
            real = target.root_path();
        }
        std::vector<fs::path> names(target.begin(), target.end());
        rest.insert(rest.end(), names.rbegin(), names.rend());
    }
    return real;
}

bool IsWithin(const fs::path& path, const fs::path& folder) {
    auto [inFolder, inPath] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return inFolder == folder.end();
}

} // namespace

MachinePathResolver::MachinePathResolver(const MachineConfig& config, const CodePage& codePage)
    : config_(config), codePage_(codePage) {
    std::string program = config.programFile;
    std::size_t slash = program.rfind('\\');
    currentDirectory_ = slash == std::string::npos ? "C:\\" : program.substr(0, slash);
    if (currentDirectory_.size() == 2) {
        currentDirectory_ += '\\';
    }
}

FullPath MachinePathResolver::GetFullPathName(std::string_view windowsPath) const {
    std::string path(windowsPath);
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    if (path.empty() || path.find('\0') != std::string::npos) {
        return {{}, kErrorPathNotFound};
    }
    if (path.starts_with("\\\\")) {
        return {{}, kErrorPathNotFound}; // no network on the simulated PC
    }
    std::string absolute;
    if (char letter = DriveLetterOf(path)) {
        std::string rest = path.substr(2);
        if (rest.starts_with('\\')) {
            absolute = std::string(1, letter) + ":" + rest;
        } else if (DriveLetterOf(currentDirectory_) == letter) {
            absolute = currentDirectory_ + "\\" + rest; // "C:NAME": the current directory of C:
        } else {
            absolute = std::string(1, letter) + ":\\" + rest;
        }
    } else if (path.starts_with('\\')) {
        absolute = currentDirectory_.substr(0, 2) + path;
    } else {
        absolute = currentDirectory_ + "\\" + path;
    }

    std::vector<std::string> names;
    for (std::string_view name : SplitNames(std::string_view(absolute).substr(2))) {
        if (name == ".") {
            continue;
        }
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back(); // ".." above the root stays at the root, as on Windows
            }
            continue;
        }
        std::string_view trimmed = name;
        while (!trimmed.empty() && (trimmed.back() == '.' || trimmed.back() == ' ')) {
            trimmed.remove_suffix(1);
        }
        if (trimmed.empty() || HasInvalidCharacter(trimmed)) {
            return {{}, kErrorInvalidName};
        }
        names.emplace_back(trimmed);
    }
    std::string result = absolute.substr(0, 2);
    for (const std::string& name : names) {
        result += '\\';
        result += name;
    }
    if (names.empty()) {
        result += '\\';
    }
    result[0] = Upper(result[0]);
    return {result, kErrorSuccess};
}

ResolvedPath MachinePathResolver::DriveRoot(char letter) const {
    letter = Upper(letter);
    if (letter < 'A' || letter > 'Z') {
        return {{}, kErrorPathNotFound};
    }
    const DriveConfig& drive = config_.Drive(letter);
    switch (drive.state) {
    case DriveConfig::State::Missing:
        return {{}, kErrorPathNotFound};
    case DriveConfig::State::NoMedium:
        return {{}, kErrorNotReady};
    case DriveConfig::State::Present:
        break;
    }
    return {drive.folder, kErrorSuccess};
}

ResolvedPath MachinePathResolver::Resolve(std::string_view windowsPath, PathUse use) const {
    FullPath full = GetFullPathName(windowsPath);
    if (!full) {
        return {{}, full.error};
    }
    char letter = full.path[0];
    ResolvedPath root = DriveRoot(letter);
    if (!root) {
        return root;
    }
    if (DWORD refusal = config_.Drive(letter).WriteRefusal(); use == PathUse::Write && refusal) {
        return {{}, refusal};
    }
    fs::path host = root.path;
    bool exists = true;
    for (std::string_view name : SplitNames(std::string_view(full.path).substr(2))) {
        std::string hostName = codePage_.ToUtf8(name);
        if (exists) {
            if (auto entry = FindEntry(host, hostName)) {
                host = *entry;
                continue;
            }
            exists = false;
        }
        host /= hostName;
    }
    // A drive is its folder and nothing else: a link inside it may lead elsewhere inside, never
    // out. Windows has no name for "outside the disk"; the entry is there and cannot be used.
    const std::optional<fs::path> real = RealLocation(host);
    const std::optional<fs::path> realRoot = RealLocation(root.path);
    if (!real || !realRoot || !IsWithin(*real, *realRoot)) {
        return {{}, kErrorAccessDenied};
    }
    return {host, kErrorSuccess};
}

DWORD MachinePathResolver::SetCurrentDirectory(std::string_view windowsPath) {
    FullPath full = GetFullPathName(windowsPath);
    if (!full) {
        return full.error;
    }
    ResolvedPath resolved = Resolve(full.path, PathUse::Read);
    if (!resolved) {
        return resolved.error;
    }
    std::error_code ec;
    fs::file_status status = fs::status(resolved.path, ec);
    if (status.type() == fs::file_type::not_found || ec) {
        return fs::is_directory(resolved.path.parent_path(), ec) ? kErrorFileNotFound
                                                                 : kErrorPathNotFound;
    }
    if (status.type() != fs::file_type::directory) {
        return kErrorDirectory;
    }
    currentDirectory_ = full.path;
    return kErrorSuccess;
}

} // namespace tl::host
