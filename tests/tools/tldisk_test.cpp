// tldisk image: the sample install disk as floppy images, read back with mtools file by file, and
// the disks it refuses.
#include "support/program_run.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path Tool() {
    return tl::test::ProgramDir(TL_BINARY_DIR "/bin") / "tldisk";
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

tl::test::ProgramRun Mtool(const std::string& tool, const std::vector<std::string>& args) {
    return tl::test::RunProgram("/usr/bin/" + tool, args);
}

// Every file of an image, by its path on the disk.
std::set<std::string> FilesOn(const fs::path& image) {
    const tl::test::ProgramRun run = Mtool("mdir", {"-i", image.string(), "-/", "-b", "::"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::set<std::string> files;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("::/", 0) == 0 && line.back() != '/')
            files.insert(line.substr(3));
    }
    return files;
}

std::string Label(const fs::path& image) {
    return Mtool("mlabel", {"-i", image.string(), "-s", "::"}).out;
}

TEST(Tldisk, SampleDiskImagesHoldEachFileOfTheDiskByteForByte) {
    if (!fs::exists("/usr/bin/mdir"))
        GTEST_SKIP() << "mtools is not installed (scripts/deps.sh host)";
    tl::test::TempMachine scratch;
    const fs::path disk = fs::path(TL_SOURCE_DIR) / "examples/disk";
    const fs::path program = scratch.Root() / "tlins32a.exe";
    std::ofstream(program, std::ios::binary) << std::string(400 * 1024, 'P');
    const fs::path out = scratch.Root() / "images";
    const tl::test::ProgramRun run =
        tl::test::RunProgram(Tool(), {"image", disk.string(), out.string(), "--program", program.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::set<std::string> second{"DISK2.TAG", "WIN95/TLMJ.TT_", "WIN95/TLMJB.TT_"};
    const std::set<std::string> third{"DISK3.TAG", "WIN95/TLGT.TT_", "WIN95/TLGS.TT_"};
    std::set<std::string> first{"TLINS32A.EXE"};
    for (const auto& entry : fs::recursive_directory_iterator(disk)) {
        const std::string path = entry.path().lexically_relative(disk).generic_string();
        if (entry.is_regular_file() && !second.count(path) && !third.count(path))
            first.insert(path);
    }
    const std::map<std::string, std::set<std::string>> images{
        {"DISK1.IMG", first}, {"DISK2.IMG", second}, {"DISK3.IMG", third}};
    const std::map<std::string, std::string> labels{{"DISK1.IMG", "TELMORA #1"},
                                                    {"DISK2.IMG", "TELMORA #2"},
                                                    {"DISK3.IMG", "TELMORA #3"}};
    for (const auto& [name, files] : images) {
        SCOPED_TRACE(name);
        const fs::path image = out / name;
        EXPECT_EQ(fs::file_size(image), 1474560u);
        EXPECT_EQ(Label(image), " Volume label is " + labels.at(name) + " \n");
        EXPECT_EQ(FilesOn(image), files);
        for (const std::string& file : files) {
            const fs::path copy = scratch.Root() / "copy";
            fs::remove(copy);
            const tl::test::ProgramRun read =
                Mtool("mcopy", {"-i", image.string(), "::/" + file, copy.string()});
            ASSERT_EQ(read.exitCode, 0) << file << ": " << read.err;
            const fs::path original = file == "TLINS32A.EXE" ? program : disk / file;
            EXPECT_TRUE(Bytes(copy) == Bytes(original)) << file << " differs";
        }
    }
    const auto written = std::distance(fs::directory_iterator(out), fs::directory_iterator());
    EXPECT_EQ(written, 3) << "only the three images are left in " << out;
}

// A disk folder: INSTALL.INF with the disk sections, the tag files, and `files`.
void WriteDisk(const fs::path& disk, const std::string& inf,
               const std::map<std::string, std::string>& files) {
    fs::create_directories(disk / "WIN95");
    std::ofstream(disk / "INSTALL.INF", std::ios::binary) << inf;
    for (const auto& [name, bytes] : files)
        std::ofstream(disk / name, std::ios::binary) << bytes;
}

constexpr const char* kInf =
    "[PRINTERDRIVER]\r\nPath = WIN95\r\n"
    "[DISK1]\r\n1 = \"Driver Disk 1\", DISK1.TAG\r\n"
    "[DISK2]\r\n2 = \"Fonts 2\", DISK2.TAG\r\n"
    "[TRUETYPEFONTS]\r\nFontList = Big\r\n"
    "[Big.TrueType]\r\n2:BIG.TTF, \"0:Big\"\r\n";

TEST(Tldisk, RefusesADiskWhoseFilesDoNotFitWithTheSizesAndWritesNoImage) {
    if (!fs::exists("/usr/bin/mdir"))
        GTEST_SKIP() << "mtools is not installed (scripts/deps.sh host)";
    struct Case {
        const char* what;
        std::map<std::string, std::string> files;
        const char* message;
    };
    const std::vector<Case> cases{
        {"a font disk one byte over",
         {{"DISK1.TAG", "1"}, {"DISK2.TAG", "2"}, {"WIN95/BIG.TTF", std::string(1456640 + 1, 'f')}},
         "DISK2.IMG: its files do not fit on a 1.44 MB disk: they need 1458176 bytes (2848 "
         "clusters of 512) of 1457664, and 3 root entries of 224\n  1  DISK2.TAG\n"
         "  1456641  WIN95/BIG.TTF\n"},
        {"disk 1 over by its own files",
         {{"DISK1.TAG", "1"}, {"DISK2.TAG", "2"}, {"WIN95/BIG.TTF", "f"},
          {"WIN95/A.DRV", std::string(800000, 'a')}, {"WIN95/B.DRV", std::string(700000, 'b')}},
         "DISK1.IMG: its files do not fit on a 1.44 MB disk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tl::test::TempMachine scratch;
        WriteDisk(scratch.Root() / "disk", kInf, c.files);
        const fs::path out = scratch.Root() / "images";
        const tl::test::ProgramRun run =
            tl::test::RunProgram(Tool(), {"image", (scratch.Root() / "disk").string(), out.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST(Tldisk, RefusesADiskFolderItCannotDivideNamingTheFault) {
    struct Case {
        const char* what;
        std::string inf;
        std::map<std::string, std::string> files;
        const char* message;
    };
    const std::map<std::string, std::string> good{
        {"DISK1.TAG", "1"}, {"DISK2.TAG", "2"}, {"WIN95/BIG.TTF", "f"}};
    auto with = [&](std::map<std::string, std::string> files, const char* name,
                    const char* bytes) {
        files[name] = bytes;
        return files;
    };
    auto without = [&](std::map<std::string, std::string> files, const char* name) {
        files.erase(name);
        return files;
    };
    const std::vector<Case> cases{
        {"no tag file", kInf, without(good, "DISK2.TAG"),
         "[DISK2] names the tag file DISK2.TAG, which is not there"},
        {"a tag file outside the disk",
         "[DISK2]\r\n2 = \"Fonts\", ..\\..\\ETC.TAG\r\n", good,
         "[DISK2] names the tag file \"..\\..\\ETC.TAG\", which is not a file name a FAT disk holds"},
        {"no font file", kInf, without(good, "WIN95/BIG.TTF"),
         "the font file WIN95/BIG.TTF of disk 2 is not there (nor a compressed copy)"},
        {"a font on a disk without its section",
         "[PRINTERDRIVER]\r\nPath = WIN95\r\n[TRUETYPEFONTS]\r\nFontList = Big\r\n"
         "[Big.TrueType]\r\n3:BIG.TTF, \"0:Big\"\r\n",
         good, "BIG.TTF is on disk 3, which has no [DISK3] section"},
        {"a driver folder outside the disk", "[PRINTERDRIVER]\r\nPath = ..\r\n", good,
         "[PRINTERDRIVER] names the driver folder \"..\", which is not a folder name"},
        {"a long file name", kInf, with(good, "WIN95/LongName.txt", "x"),
         "WIN95/LongName.txt: not a file name a FAT disk holds"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tl::test::TempMachine scratch;
        WriteDisk(scratch.Root() / "disk", c.inf, c.files);
        const fs::path out = scratch.Root() / "images";
        const tl::test::ProgramRun run =
            tl::test::RunProgram(Tool(), {"image", (scratch.Root() / "disk").string(), out.string()});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
}

} // namespace
