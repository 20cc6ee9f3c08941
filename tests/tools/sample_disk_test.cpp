// The sample install disk (examples/disk) is what its description makes, and it is complete:
// every file that INSTALL.INF and the catalogue name is on it, plain or compressed; compressed
// files expand; the drivers' version resources read back as the installer reads them; the fonts
// are whole TrueType files registered under their own full names; the space figures cover the
// files.
#include "copy/file_version_text.h"
#include "platform/host/direct_file_system.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/szdd_expander.h"
#include "state/inf_query.h"
#include "state/inf_scripts.h"
#include "support/program_run.h"
#include "support/temp_machine.h"
#include "tools/truetype_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tl {
namespace {

namespace fs = std::filesystem;

const fs::path kDisk = TL_SOURCE_DIR "/examples/disk";
const fs::path kDescription = TL_SOURCE_DIR "/examples/disk-source/disk.ini";

std::vector<BYTE> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    return {text.begin(), text.end()};
}

class SpanReader final : public host::ByteReader {
public:
    explicit SpanReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}
    std::optional<std::size_t> Read(void* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, bytes_.size() - at_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n,
                    static_cast<BYTE*>(buffer));
        at_ += n;
        return n;
    }

private:
    const std::vector<BYTE>& bytes_;
    std::size_t at_ = 0;
};

class VectorWriter final : public host::ByteWriter {
public:
    bool Write(const void* buffer, std::size_t size) override {
        const auto* p = static_cast<const BYTE*>(buffer);
        bytes.insert(bytes.end(), p, p + size);
        return true;
    }
    std::vector<BYTE> bytes;
};

// The file's bytes as LZCopy delivers them: expanded when it is SZDD-compressed.
std::optional<std::vector<BYTE>> Expanded(const fs::path& path) {
    const std::vector<BYTE> bytes = ReadBytes(path);
    if (!host::ParseSzddHeader(bytes)) {
        return bytes;
    }
    SpanReader in(bytes);
    VectorWriter out;
    if (host::ExpandSzdd(in, out) < 0) {
        return std::nullopt;
    }
    return out.bytes;
}

// The script's view of the disk: INSTALL.INF is the current script, the catalogue beside it.
class SampleDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LoadInf(scripts, files, (kDisk / "INSTALL.INF").string()).status,
                  InfLoadStatus::Loaded);
        std::string folder;
        ASSERT_EQ(GetInfDotted(scripts, "PRINTERDRIVER.PATH", folder), 1);
        source = folder.empty() ? kDisk : kDisk / folder;
        const std::string catalogueName = Lines(std::nullopt, "OEM.INF").at(0);
        const InfLoadResult loaded = LoadInf(scripts, files, (source / catalogueName).string());
        ASSERT_EQ(loaded.status, InfLoadStatus::Loaded) << catalogueName;
        catalogue = loaded.script;
    }

    std::vector<std::string> Lines(std::optional<InfScript> script, std::string_view section) {
        std::vector<std::string> lines;
        for (auto line = FindInfSection(scripts, script, section); line;
             line = NextInfLine(scripts, line)) {
            lines.emplace_back(*InfLineText(scripts, *line));
        }
        return lines;
    }

    // Fields 1, 2, ... of every line of a section.
    std::vector<std::vector<std::string>> Fields(std::optional<InfScript> script,
                                                 std::string_view section) {
        std::vector<std::vector<std::string>> rows;
        for (auto line = FindInfSection(scripts, script, section); line;
             line = NextInfLine(scripts, line)) {
            std::vector<std::string> row;
            std::string field;
            for (int n = 1; GetInfField(scripts, line, n, field); ++n) {
                row.push_back(field);
            }
            rows.push_back(row);
        }
        return rows;
    }

    std::string Key(std::optional<InfScript> script, std::string_view section,
                    std::string_view key) {
        std::string value;
        GetInfKey(scripts, script, section, key, value);
        return value;
    }

    // Where the copy engine finds a file of the driver folder: its own name, else the name with
    // the last character turned into "_".
    std::optional<fs::path> OnDisk(const fs::path& folder, std::string name) {
        if (fs::is_regular_file(folder / name)) {
            return folder / name;
        }
        name.back() = '_';
        if (fs::is_regular_file(folder / name)) {
            return folder / name;
        }
        return std::nullopt;
    }

    host::DirectFileSystem files;
    SetupScripts scripts;
    InfScript catalogue;
    fs::path source;
};

// tlmkdisk --check on a disk folder, as the test suite and scripts/make-sample-disk.sh run it.
test::ProgramRun CheckDisk(const fs::path& disk) {
    return test::RunProgram(test::ProgramDir(TL_BINARY_DIR "/bin") / "tlmkdisk",
                            {"--check", kDescription.string(), disk.string()});
}

TEST_F(SampleDisk, IsWhatItsDescriptionMakesByteForByte) {
    const test::ProgramRun run = CheckDisk(kDisk);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err
                               << "run scripts/make-sample-disk.sh and commit examples/disk";
}

// The check above is only worth something if it notices a changed, a missing and a stray file.
TEST_F(SampleDisk, CheckNoticesChangedMissingAndUndescribedFiles) {
    test::TempMachine scratch;
    const fs::path copy = scratch.Root() / "disk";
    fs::copy(kDisk, copy, fs::copy_options::recursive);
    std::ofstream(copy / "WIN95" / "TLPM.386", std::ios::binary | std::ios::app) << 'x';
    fs::remove(copy / "DISK3.TAG");
    std::ofstream(copy / "WIN95" / "OLD.DRV") << "left over";
    const test::ProgramRun run = CheckDisk(copy);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "missing: DISK3.TAG\n"
                       "differs: WIN95/TLPM.386\n"
                       "not described: WIN95/OLD.DRV\n");
}

// Every model of every edition: its files are on the disk and listed on disk 1, and what the
// spooler is told to use is among what it copies.
TEST_F(SampleDisk, EveryModelsFilesAreOnTheDiskAndCoverWhatTheSpoolerIsTold) {
    const auto editions = FindInfSection(scripts, catalogue, "Manufacturer");
    ASSERT_GE(CountInfLines(scripts, editions), 2);
    const std::string demoFile = Key(std::nullopt, "DEMOFILE", "file");
    ASSERT_GT(demoFile.size(), 2u);
    std::uint64_t largestModelBytes = 0;
    bool sixHundred = false;
    int models = 0;
    for (auto edition = editions; edition; edition = NextInfLine(scripts, edition)) {
        std::string modelList;
        ASSERT_EQ(GetInfField(scripts, edition, 1, modelList), 1);
        for (auto model = FindInfSection(scripts, catalogue, modelList); model;
             model = NextInfLine(scripts, model)) {
            std::string name;
            std::string driverSection;
            ASSERT_EQ(GetInfField(scripts, model, 0, name), 1);
            ASSERT_EQ(GetInfField(scripts, model, 1, driverSection), 1) << name;
            SCOPED_TRACE(modelList + ": " + name);
            ++models;
            EXPECT_LE(name.size(), 39u) << "a printer name has at most 39 characters";
            sixHundred |= name.size() >= 3 && name.substr(name.size() - 3) == "600";

            std::set<std::string> targets;
            std::uint64_t bytes = 0;
            bool twoNames = false;
            std::string copyFiles = Key(catalogue, driverSection, "CopyFiles") + ",";
            for (std::size_t at = 0, comma; (comma = copyFiles.find(',', at)) != std::string::npos;
                 at = comma + 1) {
                const std::string section = copyFiles.substr(at, comma - at);
                const std::vector<std::string> lines = Lines(catalogue, section);
                ASSERT_FALSE(lines.empty()) << section;
                for (const std::string& line : lines) {
                    const std::size_t split = line.find(',');
                    twoNames |= split != std::string::npos;
                    const std::string target = line.substr(0, split);
                    const std::string stored =
                        split == std::string::npos ? line : line.substr(split + 1);
                    EXPECT_EQ(Key(catalogue, "SourceDisksFiles", target).substr(0, 1), "1")
                        << target << ": driver files come from disk 1 into the system directory";
                    const auto file = OnDisk(source, stored);
                    ASSERT_TRUE(file) << stored;
                    const auto expanded = Expanded(*file);
                    ASSERT_TRUE(expanded) << file->string();
                    bytes += expanded->size();
                    targets.insert(target);
                }
            }
            largestModelBytes = std::max(largestModelBytes, bytes);
            EXPECT_TRUE(twoNames) << "each edition stores a file under another name";
            EXPECT_TRUE(targets.count(demoFile.substr(2)))
                << "the demonstration step takes the .prn file from the driver's copy list";
            for (const char* key : {"DriverFile", "HelpFile"}) {
                EXPECT_TRUE(targets.count(Key(catalogue, driverSection, key))) << key;
            }
            for (const char* key : {"LanguageMonitor", "PrintProcessor"}) {
                std::string value = Key(catalogue, driverSection, key);
                if (!value.empty()) {
                    EXPECT_TRUE(targets.count(value.substr(value.rfind(',') + 1))) << value;
                }
            }
        }
    }
    EXPECT_GE(models, 3);
    EXPECT_TRUE(sixHundred) << "a model whose name ends in 600 shows the memory warning";
    const std::uint64_t neededKb = std::stoull(Lines(std::nullopt, "NEEDED.DiskSpace").at(0));
    EXPECT_GE(neededKb * 1024, largestModelBytes);
}

TEST_F(SampleDisk, FontsAreWholeTrueTypeFilesOnTwoTaggedDisksRegisteredUnderTheirNames) {
    std::string list;
    ASSERT_EQ(GetInfDotted(scripts, "TRUETYPEFONTS.FONTLIST", list), 1);
    std::set<char> disks;
    int fonts = 0;
    for (std::size_t at = 0, comma; at <= list.size(); at = comma + 1) {
        comma = std::min(list.find(',', at), list.size());
        const std::string font = list.substr(at, comma - at);
        SCOPED_TRACE(font);
        std::uint64_t bytes = 0;
        for (const std::vector<std::string>& row : Fields(std::nullopt, font + ".TrueType")) {
            ASSERT_EQ(row.size() % 2, 0u);
            for (std::size_t i = 0; i < row.size(); i += 2, ++fonts) {
                const std::string& file = row[i];
                const std::string& name = row[i + 1];
                ASSERT_TRUE(file.size() > 2 && file[0] >= '1' && file[0] <= '9' && file[1] == ':');
                ASSERT_EQ(name.substr(0, 2), "0:");
                disks.insert(file[0]);
                const std::vector<std::vector<std::string>> disk =
                    Fields(std::nullopt, std::string("DISK") + file[0]);
                ASSERT_FALSE(disk.empty()) << "no [DISK" << file[0] << "]";
                ASSERT_EQ(disk[0].size(), 2u);
                EXPECT_TRUE(fs::is_regular_file(kDisk / disk[0][1])) << disk[0][1];

                const auto path = OnDisk(source, file.substr(2));
                ASSERT_TRUE(path) << file;
                const auto ttf = Expanded(*path);
                ASSERT_TRUE(ttf);
                bytes += ttf->size();
                const test::TrueTypeCheck check = test::CheckTrueType(*ttf);
                EXPECT_EQ(check.fault, "") << file;
                EXPECT_EQ(check.fullName, name.substr(2)) << file;
            }
        }
        EXPECT_GT(bytes, 0u) << "no font files";
        std::string space = Key(std::nullopt, "NEEDED.SPACE", font);
        ASSERT_NE(space.find(','), std::string::npos);
        EXPECT_GE(std::stoull(space) * 1000, bytes) << "NEEDED.SPACE is in kilobytes of 1,000";
    }
    EXPECT_GE(fonts, 3);
    EXPECT_GE(disks.size(), 2u);
}

// Every compressed file expands, and the name it restores is one the scripts name.
TEST_F(SampleDisk, CompressedFilesExpandUnderTheNamesTheScriptsUse) {
    const std::vector<BYTE> catalogueBytes = ReadBytes(source / Lines(std::nullopt, "OEM.INF")[0]);
    const std::vector<BYTE> installBytes = ReadBytes(kDisk / "INSTALL.INF");
    const std::string scriptsText = std::string(catalogueBytes.begin(), catalogueBytes.end()) +
                                    std::string(installBytes.begin(), installBytes.end());
    int compressed = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kDisk)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.back() != '_') {
            continue;
        }
        ++compressed;
        const std::vector<BYTE> bytes = ReadBytes(entry.path());
        const auto header = host::ParseSzddHeader(bytes);
        ASSERT_TRUE(header) << name;
        const auto expanded = Expanded(entry.path());
        ASSERT_TRUE(expanded) << name;
        EXPECT_EQ(expanded->size(), header->expandedLength) << name;
        name.back() = static_cast<char>(header->missingChar);
        EXPECT_NE(scriptsText.find(name), std::string::npos) << name << " is named nowhere";
    }
    EXPECT_GE(compressed, 5);
}

// The installer reads versions through the platform, which sees through the compression; the
// 16-bit drivers and the virtual device drivers (the files it compares before replacing) show
// their version in its format, and the port driver is newer than the one it replaces.
TEST_F(SampleDisk, VersionResourcesReadBackAsTheInstallerShowsThem) {
    test::TempMachine folder;
    folder.WriteMachineIni("[Drives]\nA=\n");
    host::EventLog events;
    std::string error;
    auto machine = host::HostMachine::Open({folder.Root(), kDisk}, events, &error);
    ASSERT_TRUE(machine) << error;
    VersionInfo& versions = machine->GetPlatform().versionInfo;
    const std::string driverFolder = "A:\\" + source.filename().string() + "\\";

    std::map<std::string, std::string> shown;
    for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
        const std::string stored = entry.path().filename().string();
        std::string file = stored;
        if (file.back() == '_') {
            const auto header = host::ParseSzddHeader(ReadBytes(entry.path()));
            ASSERT_TRUE(header) << stored;
            file.back() = static_cast<char>(header->missingChar);
        }
        const std::string extension = file.substr(file.find('.') + 1);
        if (extension != "DRV" && extension != "DLL" && extension != "386" && extension != "BZ") {
            continue;
        }
        const std::string path = driverFolder + stored;
        DWORD handle = 1;
        const DWORD size = versions.GetFileVersionInfoSize(path, &handle);
        ASSERT_GT(size, 0u) << stored;
        std::vector<BYTE> block(size);
        ASSERT_TRUE(versions.GetFileVersionInfo(path, handle, size, block.data())) << stored;
        const void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(versions.VerQueryValue(block.data(), "\\", &value, &length)) << stored;
        const auto fixed = ReadFixedFileInfo(value, length);
        ASSERT_TRUE(fixed) << stored;
        if (extension == "DRV" || extension == "386") {
            shown[file] = FormatFileVersion(block, tl::VersionFormat::MajorMinor);
        }
        if (file == "LPT.BZ") {
            EXPECT_GT(std::make_pair(fixed->dwFileVersionMS, fixed->dwFileVersionLS),
                      std::make_pair(DWORD{0x00040000}, DWORD{950}));
        }
    }
    EXPECT_EQ(shown, (std::map<std::string, std::string>{{"TL1200.DRV", "3.28"},
                                                         {"TL300.DRV", "3.28"},
                                                         {"TL600.DRV", "3.28"},
                                                         {"TLPM.386", "3.28"}}));
}

} // namespace
} // namespace tl
