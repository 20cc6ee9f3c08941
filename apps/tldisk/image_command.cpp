#include "image_command.h"

#include "disk_plan.h"
#include "floppy_space.h"
#include "mtools.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>

namespace tl::tools {
namespace {

namespace fs = std::filesystem;

constexpr int kExitWritten = 0;
constexpr int kExitTooLarge = 1;
constexpr int kExitFailed = 2;

// Each image's serial number, so that the same files make the same image.
constexpr unsigned kSerialBase = 0x544C0000u;

struct ImageArgs {
    fs::path disk;
    fs::path outDir;
    std::vector<fs::path> programs;
};

std::optional<ImageArgs> ParseArgs(std::span<const std::string> args) {
    ImageArgs parsed;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--program") {
            if (i + 1 >= args.size())
                return std::nullopt;
            parsed.programs.emplace_back(args[++i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2)
        return std::nullopt;
    parsed.disk = positional[0];
    parsed.outDir = positional[1];
    return parsed;
}

std::string ImageName(int number) {
    return "DISK" + std::to_string(number) + ".IMG";
}

void ReportTooLarge(const Floppy& floppy, const FloppySpace& space, std::ostream& err) {
    err << "tldisk: " << ImageName(floppy.number) << ": its files do not fit on a 1.44 MB disk: "
        << "they need " << space.clusters * kClusterBytes << " bytes (" << space.clusters
        << " clusters of " << kClusterBytes << ") of " << kDataClusters * kClusterBytes << ", and "
        << space.rootEntries << " root entries of " << kRootEntries << "\n";
    for (const FloppyFile& file : floppy.files)
        err << "  " << file.size << "  " << file.path << "\n";
}

// Writes the image beside its place and renames it there, so a failure leaves no half image.
std::string WriteImage(const Floppy& floppy, const fs::path& image) {
    const std::string temporary = image.string() + ".tldisk-tmp";
    std::error_code error;
    fs::remove(temporary, error);
    std::vector<std::string> format{"-i", temporary, "-C", "-f", "1440", "-N"};
    char serial[9];
    std::snprintf(serial, sizeof serial, "%08X", kSerialBase + static_cast<unsigned>(floppy.number));
    format.push_back(serial);
    if (!floppy.label.empty()) {
        format.push_back("-v");
        format.push_back(floppy.label);
    }
    format.push_back("::");
    std::string failure = RunTool("mformat", format);
    std::vector<std::string> made;
    for (const FloppyFile& file : floppy.files) {
        // The folders above the file, outermost first.
        for (std::size_t slash = file.path.find('/'); failure.empty() && slash != std::string::npos;
             slash = file.path.find('/', slash + 1)) {
            const std::string folder = file.path.substr(0, slash);
            if (std::find(made.begin(), made.end(), folder) != made.end())
                continue;
            made.push_back(folder);
            failure = RunTool("mmd", {"-i", temporary, "::/" + folder});
        }
        if (failure.empty())
            failure = RunTool("mcopy", {"-i", temporary, "-m", file.source.string(), "::/" + file.path});
        if (!failure.empty())
            break;
    }
    if (failure.empty()) {
        fs::rename(temporary, image, error);
        if (error)
            failure = "cannot be moved into place (" + error.message() + ")";
    }
    if (!failure.empty())
        fs::remove(temporary, error);
    return failure;
}

} // namespace

int RunImageCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    const std::optional<ImageArgs> parsed = ParseArgs(args);
    if (!parsed) {
        err << "usage: tldisk image DISK OUTDIR [--program FILE]...\n";
        return kExitFailed;
    }
    const DiskPlanResult plan = PlanFloppies(parsed->disk, parsed->programs);
    if (plan.floppies.empty()) {
        err << "tldisk: " << parsed->disk.string() << ": " << plan.error << "\n";
        return kExitFailed;
    }
    // Every disk is checked before any is written: a set of disks is made whole or not at all.
    bool fits = true;
    for (const Floppy& floppy : plan.floppies) {
        const FloppySpace space = SpaceFor(floppy);
        if (!space.Fits()) {
            ReportTooLarge(floppy, space, err);
            fits = false;
        }
    }
    if (!fits)
        return kExitTooLarge;

    std::error_code error;
    fs::create_directories(parsed->outDir, error);
    if (error) {
        err << "tldisk: " << parsed->outDir.string() << ": cannot be made (" << error.message()
            << ")\n";
        return kExitFailed;
    }
    for (const Floppy& floppy : plan.floppies) {
        const fs::path image = parsed->outDir / ImageName(floppy.number);
        const std::string failure = WriteImage(floppy, image);
        if (!failure.empty()) {
            err << "tldisk: " << image.string() << ": " << failure << "\n";
            return kExitFailed;
        }
        const FloppySpace space = SpaceFor(floppy);
        out << image.string() << ": \"" << floppy.label << "\", " << floppy.files.size()
            << " files, " << space.clusters * kClusterBytes << " of "
            << kDataClusters * kClusterBytes << " bytes\n";
    }
    return kExitWritten;
}

} // namespace tl::tools
