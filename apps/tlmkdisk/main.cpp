// tlmkdisk: makes an install disk's generated files (driver images with version resources, fonts,
// tag files, compressed copies) from its plain description, or checks that a disk folder holds
// exactly what the description makes.
#include "disk_description.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kExitOk = 0;
constexpr int kExitDiffers = 1;
constexpr int kExitFailed = 2;

constexpr std::string_view kHelp =
    "Usage:\n"
    "  tlmkdisk DESCRIPTION DISK           write the files DESCRIPTION makes into the folder DISK\n"
    "  tlmkdisk --check DESCRIPTION DISK   check that DISK holds exactly those files, byte for\n"
    "                                      byte, beside the hand-written ones it keeps\n"
    "\n"
    "Exit codes: 0 done (or DISK is as described), 1 DISK differs, 2 a bad description or a\n"
    "file that cannot be written.\n";

std::string Relative(const fs::path& file, const fs::path& root) {
    return file.lexically_relative(root).generic_string();
}

// Every regular file under the folder, by its path relative to it.
std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file()) {
            files.insert(Relative(it->path(), root));
        }
    }
    return files;
}

// Writes beside the target and renames into place, so a failure never leaves half a file.
bool WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    const fs::path temporary = path.string() + ".tlmkdisk-tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

bool SameBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    const std::vector<char> found{std::istreambuf_iterator<char>(in), {}};
    return found.size() == bytes.size() &&
           std::equal(found.begin(), found.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// The files under the disk that the description neither makes nor keeps.
std::vector<std::string> Strays(const tl::tools::DiskPlan& plan, const fs::path& disk) {
    std::set<std::string> known(plan.kept.begin(), plan.kept.end());
    for (const tl::tools::DiskFile& file : plan.files) {
        known.insert(file.path);
    }
    std::vector<std::string> strays;
    for (const std::string& file : FilesUnder(disk)) {
        if (known.count(file) == 0) {
            strays.push_back(file);
        }
    }
    return strays;
}

int Check(const tl::tools::DiskPlan& plan, const fs::path& disk) {
    int faults = 0;
    for (const tl::tools::DiskFile& file : plan.files) {
        const fs::path path = disk / file.path;
        if (!fs::exists(path)) {
            std::cout << "missing: " << file.path << "\n";
            ++faults;
        } else if (!SameBytes(path, file.bytes)) {
            std::cout << "differs: " << file.path << "\n";
            ++faults;
        }
    }
    for (const std::string& kept : plan.kept) {
        if (!fs::is_regular_file(disk / kept)) {
            std::cout << "missing: " << kept << " (written by hand)\n";
            ++faults;
        }
    }
    for (const std::string& stray : Strays(plan, disk)) {
        std::cout << "not described: " << stray << "\n";
        ++faults;
    }
    return faults == 0 ? kExitOk : kExitDiffers;
}

int Write(const tl::tools::DiskPlan& plan, const fs::path& disk) {
    std::size_t total = 0;
    for (const tl::tools::DiskFile& file : plan.files) {
        if (!WriteFile(disk / file.path, file.bytes)) {
            std::cerr << "tlmkdisk: cannot write " << (disk / file.path).string() << "\n";
            return kExitFailed;
        }
        total += file.bytes.size();
    }
    for (const std::string& stray : Strays(plan, disk)) {
        std::cerr << "tlmkdisk: warning: " << stray << " is not described\n";
    }
    std::cout << plan.files.size() << " files, " << total << " bytes written to " << disk.string()
              << "\n";
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kHelp;
        return kExitOk;
    }
    const bool check = !args.empty() && args[0] == "--check";
    if (check) {
        args.erase(args.begin());
    }
    if (args.size() != 2) {
        std::cerr << kHelp;
        return kExitFailed;
    }
    tl::tools::DiskPlanResult result = tl::tools::MakeDiskPlan(args[0]);
    if (!result.plan) {
        std::cerr << "tlmkdisk: " << args[0] << ": " << result.error << "\n";
        return kExitFailed;
    }
    if (check) {
        return Check(*result.plan, args[1]);
    }
    return Write(*result.plan, args[1]);
}
