// tldisk image: the sample install disk as floppy images, read back with mtools file by file, and
// the disks it refuses.
#include "tool_run.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

ProgramRun Mtool(const std::string& tool, const std::vector<std::string>& args) {
    return RunProgram("/usr/bin/" + tool, args);
}

// Every file of an image, by its path on the disk.
std::set<std::string> FilesOn(const fs::path& image) {
    const ProgramRun run = Mtool("mdir", {"-i", image.string(), "-/", "-b", "::"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::set<std::string> files;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("::/", 0) == 0 && line.back() != '/')
            files.insert(line.substr(3));
    }
    return files;
}

TEST(Tldisk, SampleDiskImagesHoldEachFileOfTheDiskByteForByte) {
    if (!fs::exists("/usr/bin/mdir"))
        GTEST_SKIP() << "mtools is not installed (scripts/deps.sh host)";
    TempMachine scratch;
    scratch.WriteFile("tlins32a.exe", std::string(400 * 1024, 'P'));
    const fs::path out = scratch.Root() / "images";
    const ProgramRun run =
        RunTool("tldisk", {"image", kSampleDisk.string(), out.string(), "--program",
                           (scratch.Root() / "tlins32a.exe").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::map<std::string, std::set<std::string>> images{
        {"DISK1.IMG", {"TLINS32A.EXE"}},
        {"DISK2.IMG", {"DISK2.TAG", "WIN95/TLMJ.TT_", "WIN95/TLMJB.TT_"}},
        {"DISK3.IMG", {"DISK3.TAG", "WIN95/TLGT.TT_", "WIN95/TLGS.TT_"}}};
    for (const auto& entry : fs::recursive_directory_iterator(kSampleDisk)) {
        const std::string path = entry.path().lexically_relative(kSampleDisk).generic_string();
        if (entry.is_regular_file() && !images["DISK2.IMG"].count(path) &&
            !images["DISK3.IMG"].count(path))
            images["DISK1.IMG"].insert(path);
    }
    for (const auto& [name, files] : images) {
        SCOPED_TRACE(name);
        const fs::path image = out / name;
        EXPECT_EQ(fs::file_size(image), 1474560u);
        EXPECT_EQ(Mtool("mlabel", {"-i", image.string(), "-s", "::"}).out,
                  " Volume label is TELMORA #" + name.substr(4, 1) + " \n");
        EXPECT_EQ(FilesOn(image), files);
        for (const std::string& file : files) {
            fs::remove(scratch.Root() / "copy");
            const ProgramRun read = Mtool(
                "mcopy", {"-i", image.string(), "::/" + file, (scratch.Root() / "copy").string()});
            ASSERT_EQ(read.exitCode, 0) << file << ": " << read.err;
            const std::string original = file == "TLINS32A.EXE"
                                             ? scratch.ReadFile("tlins32a.exe")
                                             : scratch.ReadFile(kSampleDisk / file);
            EXPECT_TRUE(scratch.ReadFile("copy") == original) << file << " differs";
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 3)
        << "only the three images are left in " << out;
}

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
