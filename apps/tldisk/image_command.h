// `tldisk image DISK OUTDIR [--program FILE]...`: the install disk folder DISK as 1.44 MB FAT12
// floppy images DISK1.IMG, DISK2.IMG, ... in OUTDIR.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace tl::tools {

// The exit code: 0 written, 1 a disk whose files do not fit (nothing written), 2 bad usage, a disk
// folder that cannot be used or an image that cannot be written.
int RunImageCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

} // namespace tl::tools
