#include "disk_plan.h"

#include "volume_label.h"

#include "platform/host/direct_file_system.h"
#include "sequencer/font_copy_list.h"
#include "state/inf_query.h"
#include "state/inf_scripts.h"

#include <algorithm>
#include <set>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

constexpr int kLastDisk = 9;
constexpr int kLabelField = 1;
constexpr int kTagFileField = 2;
// Folders below the disk folder deeper than this are not an install disk's.
constexpr int kMaxDepth = 8;
// The file the installer starts from, at the root of disk 1.
constexpr std::string_view kInstallInf = "INSTALL.INF";

struct Plan {
    std::map<int, Floppy> floppies;
    std::set<std::string> elsewhere; // disk paths that belong to a disk other than 1
    std::string error;
};

bool IsNameCharacter(char c) {
    constexpr std::string_view kPunctuation = "!#$%&'()-@^_`{}~";
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           kPunctuation.find(c) != std::string_view::npos;
}

// A folder path of the disk as INSTALL.INF writes it ("WIN95", "DRV\\WIN95"), with "/" between
// its names; none when a part is not a short name.
std::optional<std::string> FolderPath(std::string_view text) {
    std::string path;
    while (!text.empty()) {
        const std::size_t slash = text.find('\\');
        const std::string_view part = text.substr(0, slash);
        if (!IsShortName(part))
            return std::nullopt;
        path += (path.empty() ? "" : "/") + std::string(part);
        if (slash == std::string_view::npos)
            break;
        text.remove_prefix(slash + 1);
    }
    return path;
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

// The file of a font on the disk: its own name or, as the installer also tries, the name with
// its last character "_" (a compressed copy).
std::optional<std::string> FontFile(const fs::path& disk, const std::string& folder,
                                    std::string name) {
    std::error_code error;
    if (fs::is_regular_file(disk / InFolder(folder, name), error))
        return InFolder(folder, name);
    name.back() = '_';
    if (fs::is_regular_file(disk / InFolder(folder, name), error))
        return InFolder(folder, name);
    return std::nullopt;
}

bool Add(Plan& plan, const fs::path& disk, int number, const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(disk / path, error);
    if (error) {
        plan.error = path + ": cannot be read (" + error.message() + ")";
        return false;
    }
    plan.floppies[number].files.push_back({disk / path, path, size});
    return true;
}

// Tag files and labels of disks 1 to 9; the tag files of disks 2 to 9 go to their disk.
bool PlanDiskSections(const SetupScripts& scripts, const fs::path& disk, Plan& plan) {
    for (int number = 1; number <= kLastDisk; ++number) {
        const std::string section = "DISK" + std::to_string(number);
        const std::optional<InfLine> line = FindInfSection(scripts, std::nullopt, section);
        if (!line)
            continue;
        std::string label;
        std::string tag;
        GetInfField(scripts, line, kLabelField, label);
        GetInfField(scripts, line, kTagFileField, tag);
        Floppy& floppy = plan.floppies[number];
        floppy.number = number;
        floppy.label = VolumeLabel(label);
        if (!IsShortName(tag)) {
            plan.error = "[" + section + "] names the tag file \"" + tag +
                         "\", which is not a file name a FAT disk holds";
            return false;
        }
        std::error_code error;
        if (!fs::is_regular_file(disk / tag, error)) {
            plan.error = "[" + section + "] names the tag file " + tag + ", which is not there";
            return false;
        }
        if (number > 1) {
            plan.elsewhere.insert(tag);
            if (!Add(plan, disk, number, tag))
                return false;
        }
    }
    return true;
}

// The fonts of disks 2 to 9, in the driver folder of their disk.
bool PlanFonts(const SetupScripts& scripts, const fs::path& disk, const std::string& folder,
               Plan& plan) {
    std::string list;
    GetInfDotted(scripts, "TRUETYPEFONTS.FontList", list);
    std::vector<FontListFault> faults;
    const std::vector<FontPair> pairs = CollectFontPairs(scripts, SplitSelectedFonts(list), faults);
    for (const FontPair& pair : pairs) {
        const int number = pair.disk - '0';
        if (number == 1)
            continue;
        if (!plan.floppies.count(number)) {
            plan.error = pair.fileName + " is on disk " + std::to_string(number) + ", which has no [DISK" +
                         std::to_string(number) + "] section";
            return false;
        }
        if (!IsShortName(pair.fileName)) {
            plan.error = "the font file \"" + pair.fileName +
                         "\" is not a file name a FAT disk holds";
            return false;
        }
        const std::optional<std::string> file = FontFile(disk, folder, pair.fileName);
        if (!file) {
            plan.error = "the font file " + InFolder(folder, pair.fileName) + " of disk " +
                         std::to_string(number) + " is not there (nor a compressed copy)";
            return false;
        }
        const std::vector<FloppyFile>& files = plan.floppies[number].files;
        const bool listed = std::any_of(files.begin(), files.end(),
                                        [&](const FloppyFile& f) { return f.path == *file; });
        plan.elsewhere.insert(*file);
        if (!listed && !Add(plan, disk, number, *file))
            return false;
    }
    return true;
}

// Everything else of the disk folder goes onto disk 1.
bool PlanDiskOne(const fs::path& disk, Plan& plan) {
    std::error_code error;
    fs::recursive_directory_iterator it(disk, error);
    for (const fs::recursive_directory_iterator end; !error && it != end; it.increment(error)) {
        const std::string path = it->path().lexically_relative(disk).generic_string();
        if (it.depth() >= kMaxDepth) {
            plan.error = path + ": folders deeper than " + std::to_string(kMaxDepth);
            return false;
        }
        if (!IsShortName(it->path().filename().string())) {
            plan.error = path + ": not a file name a FAT disk holds (8.3, in capitals)";
            return false;
        }
        const fs::file_status status = it->symlink_status(error);
        if (fs::is_directory(status) || plan.elsewhere.count(path))
            continue;
        if (!fs::is_regular_file(status)) {
            plan.error = path + ": not a plain file";
            return false;
        }
        if (!Add(plan, disk, 1, path))
            return false;
    }
    if (error) {
        plan.error = disk.string() + ": cannot be read (" + error.message() + ")";
        return false;
    }
    return true;
}

bool AddPrograms(const std::vector<fs::path>& programs, Plan& plan) {
    for (const fs::path& program : programs) {
        std::string name = program.filename().string();
        for (char& c : name)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (!IsShortName(name)) {
            plan.error = program.string() + ": its name is not one a FAT disk holds (8.3)";
            return false;
        }
        std::vector<FloppyFile>& files = plan.floppies[1].files;
        if (std::any_of(files.begin(), files.end(), [&](const FloppyFile& f) { return f.path == name; })) {
            plan.error = program.string() + ": disk 1 holds a " + name + " already";
            return false;
        }
        std::error_code error;
        const std::uintmax_t size = fs::file_size(program, error);
        if (error || !fs::is_regular_file(program, error)) {
            plan.error = program.string() + ": not a file that can be read";
            return false;
        }
        files.push_back({program, name, size});
    }
    return true;
}

} // namespace

bool IsShortName(std::string_view name) {
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || extension.size() > 3 ||
        (dot != std::string_view::npos && extension.empty()))
        return false;
    return std::all_of(base.begin(), base.end(), IsNameCharacter) &&
           std::all_of(extension.begin(), extension.end(), IsNameCharacter);
}

DiskPlanResult PlanFloppies(const fs::path& disk, const std::vector<fs::path>& programs) {
    SetupScripts scripts;
    host::DirectFileSystem files;
    const std::string infPath = (disk / kInstallInf).string();
    const InfLoadResult load = LoadInf(scripts, files, infPath);
    if (load.status != InfLoadStatus::Loaded)
        return {{}, infPath + ": cannot be loaded as a setup script"};

    Plan plan;
    plan.floppies[1].number = 1;
    std::string folderText;
    GetInfDotted(scripts, "PRINTERDRIVER.Path", folderText);
    const std::optional<std::string> folder = FolderPath(folderText);
    if (!folder)
        return {{}, "[PRINTERDRIVER] names the driver folder \"" + folderText +
                        "\", which is not a folder name a FAT disk holds"};
    if (!PlanDiskSections(scripts, disk, plan) || !PlanFonts(scripts, disk, *folder, plan) ||
        !PlanDiskOne(disk, plan) || !AddPrograms(programs, plan))
        return {{}, plan.error};

    DiskPlanResult result;
    for (auto& [number, floppy] : plan.floppies)
        result.floppies.push_back(std::move(floppy));
    return result;
}

} // namespace tl::tools
