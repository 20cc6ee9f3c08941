// The plain description an install disk is made from (an INI file; see examples/disk.ini):
// one section per file that tlmkdisk makes, named by the file's path on the disk ("/" between
// folders), and section [tlmkdisk] with key "keep": the files of the disk written by hand.
//
// Keys of a file's section:
//   image = ne | le | pe        an executable image with a version resource:
//     version = A.B.C.D         file and product version
//     type = drv | vxd | dll | app, subtype = printer (optional)
//     string.NAME = TEXT        StringFileInfo values, in the order written
//   font = FAMILY               a TrueType font; style = bold for the bold face;
//                               fontversion = 1.00, copyright = TEXT
//   text = TEXT                 these bytes; \r \n \f \e \\ and \xHH stand for what they say
//   from = FILE                 the bytes of FILE (beside the description); with lines = crlf
//                               its line feeds become CR LF
//   compress = yes              stored SZDD-compressed, the name's last character turned
//                               into "_" (TL600.DRV is stored as TL600.DR_)
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tl::tools {

struct DiskFile {
    std::string path; // on the disk, "/" between folders: the name it is stored under
    std::vector<std::uint8_t> bytes;
};

struct DiskPlan {
    std::vector<DiskFile> files;   // in description order
    std::vector<std::string> kept; // hand-written files of the disk
};

struct DiskPlanResult {
    std::optional<DiskPlan> plan;
    std::string error; // "section: what is wrong"
};

// Reads the description and makes every file's bytes; the first fault found is the error.
DiskPlanResult MakeDiskPlan(const std::filesystem::path& description);

// "TL600.DRV" -> "TL600.DR_"; a name whose last character is already "_" cannot be compressed
// this way and gives none.
std::optional<std::string> CompressedName(const std::string& path);

// The text with its escapes (\r \n \f \e \\ \xHH) turned into bytes; none for a bad escape.
std::optional<std::string> Unescape(const std::string& text);

} // namespace tl::tools
