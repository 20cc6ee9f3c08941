// tldisk image: the disks it refuses. (The sample disk's images are read back file by file and
// installed from under Wine: win32ui/win32/floppy-images-under-wine.sh.)
#include "tool_run.h"

#include <gtest/gtest.h>

#include <map>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

TEST(Tldisk, RefusesADiskItCannotDivideOrFitNamingTheFaultAndWritesNoImage) {
    const std::string inf = "[PRINTERDRIVER]\r\nPath = WIN95\r\n"
                            "[DISK1]\r\n1 = \"Driver Disk 1\", DISK1.TAG\r\n"
                            "[DISK2]\r\n2 = \"Fonts 2\", DISK2.TAG\r\n"
                            "[TRUETYPEFONTS]\r\nFontList = Big\r\n"
                            "[Big.TrueType]\r\n2:BIG.TTF, \"0:Big\"\r\n";
    using Files = std::map<std::string, std::string>;
    const Files good{{"DISK1.TAG", "1"}, {"DISK2.TAG", "2"}, {"WIN95/BIG.TTF", "f"}};
    const auto with = [&](Files files, const char* name, std::string bytes) {
        files[name] = std::move(bytes);
        return files;
    };
    const auto without = [&](Files files, const char* name) {
        files.erase(name);
        return files;
    };
    const struct {
        const char* what;
        std::string inf;
        Files files;
        int exitCode;
        const char* message;
    } cases[] = {
        {"a font disk one byte over", inf, with(good, "WIN95/BIG.TTF", std::string(1456641, 'f')),
         1,
         "DISK2.IMG: its files do not fit on a 1.44 MB disk: they need 1458176 bytes (2848 "
         "clusters of 512) of 1457664, and 3 root entries of 224\n  1  DISK2.TAG\n"
         "  1456641  WIN95/BIG.TTF\n"},
        {"disk 1 over by its own files", inf,
         with(with(good, "WIN95/A.DRV", std::string(800000, 'a')), "WIN95/B.DRV",
              std::string(700000, 'b')),
         1, "DISK1.IMG: its files do not fit on a 1.44 MB disk"},
        {"no tag file", inf, without(good, "DISK2.TAG"), 2,
         "[DISK2] names the tag file DISK2.TAG, which is not there"},
        {"a tag file outside the disk", "[DISK2]\r\n2 = \"Fonts\", ..\\..\\ETC.TAG\r\n", good, 2,
         "[DISK2] names the tag file \"..\\..\\ETC.TAG\", which is not a file name a FAT disk "
         "holds"},
        {"no font file", inf, without(good, "WIN95/BIG.TTF"), 2,
         "the font file WIN95/BIG.TTF of disk 2 is not there (nor a compressed copy)"},
        {"a font on a disk without its section",
         "[PRINTERDRIVER]\r\nPath = WIN95\r\n[TRUETYPEFONTS]\r\nFontList = Big\r\n"
         "[Big.TrueType]\r\n3:BIG.TTF, \"0:Big\"\r\n",
         good, 2, "BIG.TTF is on disk 3, which has no [DISK3] section"},
        {"a driver folder outside the disk", "[PRINTERDRIVER]\r\nPath = ..\r\n", good, 2,
         "[PRINTERDRIVER] names the driver folder \"..\", which is not a folder name"},
        {"a long file name", inf, with(good, "WIN95/LongName.txt", "x"), 2,
         "WIN95/LongName.txt: not a file name a FAT disk holds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.exitCode == 1 && !fs::exists("/usr/bin/mdir"))
            continue; // measuring the fit needs mtools
        TempMachine scratch;
        scratch.WriteFile("disk/INSTALL.INF", c.inf);
        scratch.MakeDirectory("disk/WIN95");
        for (const auto& [name, bytes] : c.files)
            scratch.WriteFile("disk/" + name, bytes);
        const fs::path out = scratch.Root() / "images";
        const ProgramRun run =
            RunTool("tldisk", {"image", (scratch.Root() / "disk").string(), out.string()});
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
} // namespace tl::test
