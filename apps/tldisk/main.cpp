// tldisk: install disks for the people who make them. Each job is a subcommand:
//   tldisk image DISK OUTDIR [--program FILE]...   the disk folder as 1.44 MB floppy images
//   tldisk check DISK                              what the installer will stumble on
#include "check_command.h"
#include "image_command.h"

#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitUsage = 2;

struct Subcommand {
    std::string_view name;
    int (*run)(std::span<const std::string> args, std::ostream& out, std::ostream& err);
};

constexpr Subcommand kSubcommands[] = {
    {"image", tl::tools::RunImageCommand},
    {"check", tl::tools::RunCheckCommand},
};

constexpr std::string_view kUsage =
    "usage: tldisk COMMAND ARGUMENTS\n"
    "\n"
    "  image DISK OUTDIR [--program FILE]...\n"
    "      writes the install disk folder DISK as 1.44 MB FAT12 floppy images DISK1.IMG,\n"
    "      DISK2.IMG, ... in OUTDIR, as its INSTALL.INF divides it: the fonts and tag files of\n"
    "      disks 2 and up on their disks, everything else (and each program FILE, at the root)\n"
    "      on disk 1. Labels come from the [DISKn] lines. Exit codes: 0 written, 1 a disk's\n"
    "      files do not fit (nothing is written), 2 bad usage or a failure, named.\n";

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? std::cerr : std::cout) << kUsage;
        return args.empty() ? kExitUsage : 0;
    }
    for (const Subcommand& subcommand : kSubcommands) {
        if (args[0] == subcommand.name) {
            const int code = subcommand.run(std::span(args).subspan(1), std::cout, std::cerr);
            std::cout.flush();
            return std::cout ? code : kExitUsage;
        }
    }
    std::cerr << "tldisk: unknown command " << args[0] << "\n" << kUsage;
    return kExitUsage;
}
