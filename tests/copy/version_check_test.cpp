#include "copy/file_version_text.h"
#include "copy/version_check.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"
#include "resources/string_table.h"
#include "support/installer_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace tl {
namespace {

// 31 December 1995, 23:50:00 UTC.
constexpr std::uint64_t kStamp = 124649274000000000ULL;
constexpr std::uint64_t kOneDay = 24ULL * 3600 * 10000000;
enum Where { kInstalled, kDisk };

host::VersionRecord Record(std::array<WORD, 4> version) {
    host::VersionRecord record;
    record.fileVersion = version;
    record.productVersion = version;
    return record;
}

std::string Bytes(const std::vector<BYTE>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::string Ne(std::array<WORD, 4> version) {
    return Bytes(host::WriteNeImage(Record(version)));
}

TEST(FormatFileVersion, BothFormatsFromEitherKindOfResource) {
    const auto block16 = host::BuildVersionBlock16(Record({4, 0, 3, 95}));
    EXPECT_EQ(FormatFileVersion(block16, VersionFormat::MajorMinor), "4.03");
    EXPECT_EQ(FormatFileVersion(block16, VersionFormat::Build), "3.95");
    const auto widest = host::BuildVersionBlock16(Record({65535, 65535, 65535, 65535}));
    EXPECT_EQ(FormatFileVersion(widest, VersionFormat::MajorMinor), "65535.6553565535");
    EXPECT_EQ(FormatFileVersion(widest, VersionFormat::Build), "65535.65535");

    // A 32-bit resource holds its fixed information 20 bytes further on.
    const auto block32 = host::BuildVersionBlock32(Record({4, 0, 3, 95}));
    EXPECT_EQ(FormatFileVersion(block32, VersionFormat::MajorMinor), "4.03");
    EXPECT_EQ(FormatFileVersion(block32, VersionFormat::Build), "3.95");

    // Without the fixed information's signature, or cut short, there is no version to show.
    EXPECT_EQ(
        FormatFileVersion(std::span<const BYTE>(block16).first(35), VersionFormat::MajorMinor), "");
    std::vector<BYTE> unsigned16 = block16;
    unsigned16[20] = 0;
    EXPECT_EQ(FormatFileVersion(unsigned16, VersionFormat::MajorMinor), "");
    EXPECT_EQ(FormatFileVersion({}, VersionFormat::Build), "");
}

// A version port that reports a given size and fails or succeeds reading.
class StubVersions final : public VersionInfo {
public:
    DWORD size = 0;
    bool readable = true;
    DWORD GetFileVersionInfoSize(std::string_view, DWORD* handle) override {
        return *handle = 0, size;
    }
    BOOL GetFileVersionInfo(std::string_view, DWORD, DWORD length, void* data) override {
        const auto block = host::BuildVersionBlock16(Record({4, 0, 3, 95}));
        std::memcpy(data, block.data(), std::min<std::size_t>(length, block.size()));
        return readable;
    }
    BOOL VerQueryValue(const void*, std::string_view, const void**, UINT*) override { return 0; }
    DWORD GetLastError() const override { return 0; }
};

TEST(FileVersionText, MemoryAndReadFailuresAreShownAsTheDialogShowsThem) {
    StubVersions versions;
    EXPECT_EQ(FileVersionText(versions, "C:\\X.DRV", VersionFormat::MajorMinor), "");
    versions.size = 0xFFFFFFF0u; // a damaged file's claim
    EXPECT_EQ(FileVersionText(versions, "C:\\X.DRV", VersionFormat::MajorMinor),
              "     Memory cannot get.");
    versions.size = 400;
    versions.readable = false;
    EXPECT_EQ(FileVersionText(versions, "C:\\X.DRV", VersionFormat::MajorMinor), "");
    versions.readable = true;
    EXPECT_EQ(FileVersionText(versions, "C:\\X.DRV", VersionFormat::Build),
              std::string(*LookupString(145)) + "3.95");
}

// VER_CHECK for files of C:\WINDOWS\SYSTEM and of the disk in D:.
class VersionCheckTest : public ::testing::Test {
protected:
    void Open(std::string_view machineIni = "[Machine]\nUtcOffsetMinutes=540\n") {
        pc.emplace(test::HarnessOptions().Ini(machineIni).Folder("drive_d"));
        ASSERT_TRUE(pc->Ready());
        installer = &pc->Get();
        installer->paths.systemDir = "C:\\WINDOWS\\SYSTEM";
        installer->paths.diskPath = "D:";
        owner = pc->MainWindow();
    }

    // A file installed at kStamp, or one on the disk a day younger.
    void Put(Where where, const std::string& name, const std::string& bytes) {
        pc->Folder().WriteFile((where == kDisk ? "drive_d/" : "drive_c/WINDOWS/SYSTEM/") + name,
                               bytes);
        const std::string path = (where == kDisk ? "D:\\" : "C:\\WINDOWS\\SYSTEM\\") + name;
        Platform& platform = pc->Ports();
        const FileHandle file = platform.files.CreateFile(path, kGenericWrite, 0, kOpenExisting);
        ASSERT_TRUE(file) << path;
        const FILETIME time = MakeFileTime(where == kDisk ? kStamp + kOneDay : kStamp);
        EXPECT_TRUE(platform.storage.SetFileTime(file, nullptr, nullptr, &time));
        platform.files.CloseHandle(file);
    }

    std::string Comparison(std::string_view name) {
        return pc->Utf8(VersionComparisonText(MakeVersionCheckContext(*installer), name));
    }

    std::optional<test::InstallerHarness> pc;
    Installer* installer = nullptr;
    WindowHandle owner;
};

// The comparison text: the installed file's date and version lines, then the disk file's.
std::string Shown(const std::string& name, const std::string& installed, const std::string& disk) {
    return "      " + name + " 이미존재합니다.\n 바꾸시겠습니까?\n     " + installed +
           "\n 의  :\n     " + disk + "\n\n";
}

// Seoul is nine hours ahead of UTC. The disk holds the new driver compressed, under the name
// ending in "_". The text is the system's own bytes: code page 949 all through.
TEST_F(VersionCheckTest, ComparisonTextShowsBothFilesLocalDatesAndVersions) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Put(kInstalled, "TL600.DRV", Ne({3, 2, 8, 0}));
    Put(kDisk, "TL600.DR_",
        Bytes(host::CompressSzdd(host::WriteNeImage(Record({4, 0, 3, 95})), 'V')));
    ASSERT_EQ(installer->copyList.Append(kFlagDriver, '1', "TL600.DRV"), CopyListError::None);
    EXPECT_EQ(CheckInstalledVersion(*installer, owner, 0), 1);
    EXPECT_EQ(pc->Utf8(pc->Dialogs().at(0).opened.Find(kVersionTextId)->text),
              Shown("TL600.DRV", "월 1월 1 08:50:00 1996\n      버젼.  3.28",
                    "화 1월 2 08:50:00 1996\n      버젼.  4.03"));
    EXPECT_EQ(pc->Dialogs()[0].opened.Find(kVersionTextId)->text.substr(16, 4), "\xC0\xCC\xB9\xCC");
}

TEST_F(VersionCheckTest, VersionsDatesAndWhatIsMissing) {
    ASSERT_NO_FATAL_FAILURE(Open("[Machine]\nLocale=0409\n"));
    const std::string installedDate = "Sun Dec 31 23:50:00 1995";
    const std::string diskDate = "Mon Jan 1 23:50:00 1996";
    // The third and fourth parts, of a 32-bit image.
    installer->options.versionType = true;
    Put(kInstalled, "TLUI.DRV", Bytes(host::WritePeImage(Record({4, 0, 3, 95}))));
    Put(kDisk, "TLUI.DRV", Ne({4, 0, 4, 10}));
    EXPECT_EQ(Comparison("TLUI.DRV"), Shown("TLUI.DRV", installedDate + "\n      버젼.  3.95",
                                            diskDate + "\n      버젼.  4.10"));
    // No version resource, no disk file: no lines; German's string 147 is empty here.
    installer->options.versionType = false;
    Put(kInstalled, "TLPORT.386", Bytes(host::WriteLeImage(std::nullopt)));
    for (int language : {0, 2}) {
        installer->languageIndex = language;
        EXPECT_EQ(Comparison("TLPORT.386"), Shown("TLPORT.386", installedDate + "\n ", ""));
    }
    // A file that is not an executable image has no version, but its date is shown.
    Put(kDisk, "TLPORT.386", "plain text, not a driver");
    EXPECT_EQ(Comparison("TLPORT.386"),
              Shown("TLPORT.386", installedDate + "\n ", diskDate + "\n "));
}

TEST(DropDeclinedEntry, TheExtensionIsEverythingBehindTheFirstDot) {
    // "X.386.BAK" is no device driver, and a name without extension is not one either.
    CopyList other;
    ASSERT_EQ(other.Append(kFlagSystemFile, '1', "X.386.BAK"), CopyListError::None);
    ASSERT_EQ(other.Append(kFlagDevice, '1', "D.386"), CopyListError::None);
    ASSERT_EQ(other.Append(kFlagSystemFile, '1', "NOEXT"), CopyListError::None);
    DropDeclinedEntry(other, 0);
    EXPECT_EQ(other.Flag(0), kFlagSkipped);
    EXPECT_EQ(other.Flag(1), kFlagDevice);
    EXPECT_EQ(other.Flag(2), kFlagSkipped);
}

} // namespace
} // namespace tl
