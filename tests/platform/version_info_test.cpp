#include "platform/host/szdd_compressor.h"
#include "platform/host/version_block_writer.h"
#include "platform/host/version_host.h"
#include "platform/host/version_image_writer.h"
#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"
#include "platform/lz_fake_machine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

namespace tl {
namespace {

using host::VersionRecord;
using testing::TempMachine;

VersionRecord PortDriverRecord() {
    VersionRecord record;
    record.fileVersion = {4, 0, 0, 950};
    record.productVersion = {4, 0, 0, 951};
    record.fileFlags = 0x8;
    record.fileOS = kVosDosWindows16;
    record.fileType = kVftVxd;
    record.fileSubtype = 0x0E;
    record.strings = {{"CompanyName", "Telmora"}, {"FileVersion", "4.00.950"}};
    return record;
}

DWORD Le32At(const std::vector<BYTE>& bytes, std::size_t at) {
    DWORD v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

struct ImageKind {
    const char* name;
    std::function<std::vector<BYTE>(const std::optional<VersionRecord>&)> write;
    bool wide;
};

const ImageKind kKinds[] = {
    {"LPT.VXD", host::WriteLeImage, false},
    {"TLDRV.DRV", host::WriteNeImage, false},
    {"TLUI.DLL", host::WritePeImage, true},
};

class VersionInfoTest : public ::testing::Test {
protected:
    std::vector<BYTE> Load(const std::string& name) {
        DWORD handle = 7;
        const DWORD size = info.GetFileVersionInfoSize("C:\\" + name, &handle);
        EXPECT_EQ(handle, 0u);
        if (size == 0) {
            return {};
        }
        std::vector<BYTE> block(size);
        EXPECT_EQ(info.GetFileVersionInfo("C:\\" + name, 0, size, block.data()), 1);
        return block;
    }

    TempMachine machine;
    host::HostVersionInfo info{machine};
};

TEST_F(VersionInfoTest, WrittenImagesReadBackTheirVersionInTheirOwnLayout) {
    const VersionRecord record = PortDriverRecord();
    for (const ImageKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        machine.Write(kind.name, kind.write(record));
        const std::vector<BYTE> block = Load(kind.name);
        ASSERT_FALSE(block.empty());
        // The bytes as the file holds them: the fixed part at byte 20 (16-bit) or 40 (32-bit).
        const std::size_t fixedAt = kind.wide ? 40 : 20;
        if (!kind.wide) {
            EXPECT_EQ(std::memcmp(block.data() + 4, "VS_VERSION_INFO", 16), 0);
            EXPECT_EQ(Le32At(block, 28), 0x00040000u);
            EXPECT_EQ(Le32At(block, 32), 950u);
        }
        EXPECT_EQ(Le32At(block, fixedAt), kVsFfiSignature);

        const void* value = nullptr;
        UINT length = 0;
        ASSERT_EQ(info.VerQueryValue(block.data(), "\\", &value, &length), 1);
        EXPECT_EQ(value, block.data() + fixedAt);
        EXPECT_EQ(length, FixedFileInfo::kSize);
        const auto fixed = ReadFixedFileInfo(value, length);
        ASSERT_TRUE(fixed);
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00040000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 950u);
        EXPECT_EQ(fixed->dwProductVersionLS, 951u);
        EXPECT_EQ(fixed->dwFileFlags, 0x8u);
        EXPECT_EQ(fixed->dwFileType, kVftVxd);
        EXPECT_EQ(fixed->dwFileSubtype, 0x0Eu);

        ASSERT_EQ(info.VerQueryValue(block.data(), "\\StringFileInfo\\040904e4\\companyname",
                                     &value, &length),
                  1);
        if (kind.wide) {
            EXPECT_EQ(length, 8u); // characters, the NUL included
            EXPECT_EQ(std::memcmp(value, "T\0e\0l\0m\0o\0r\0a\0\0", 16), 0);
        } else {
            EXPECT_EQ(length, 8u);
            EXPECT_STREQ(static_cast<const char*>(value), "Telmora");
        }
        ASSERT_EQ(info.VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length),
                  1);
        EXPECT_EQ(length, 4u);
        EXPECT_EQ(std::memcmp(value, "\x09\x04\xE4\x04", 4), 0);
        EXPECT_EQ(info.VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\Missing", &value,
                                     &length),
                  0);
    }
}

TEST_F(VersionInfoTest, WrestoolFindsTheSameResourceInTheNeAndPeImages) {
    if (std::system("command -v wrestool >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "wrestool is not installed";
    }
    for (const ImageKind& kind : kKinds) {
        if (std::string_view(kind.name) == "LPT.VXD") {
            continue; // wrestool does not read virtual device drivers
        }
        SCOPED_TRACE(kind.name);
        machine.Write(kind.name, kind.write(PortDriverRecord()));
        const std::string out = machine.HostPath("out.bin").string();
        const std::string command =
            "wrestool -x --raw -t16 '" + machine.HostPath(kind.name).string() + "' > '" + out + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::vector<BYTE> extracted = machine.Read("out.bin");
        EXPECT_EQ(extracted, Load(kind.name));
        const std::vector<BYTE> expected = kind.wide
                                               ? host::BuildVersionBlock32(PortDriverRecord())
                                               : host::BuildVersionBlock16(PortDriverRecord());
        ASSERT_GE(extracted.size(), expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), extracted.begin()));
    }
}

TEST_F(VersionInfoTest, FilesWithoutAVersionResourceGiveSizeZeroAndTheReason) {
    for (const ImageKind& kind : kKinds) {
        machine.Write(kind.name, kind.write(std::nullopt));
        EXPECT_EQ(info.GetFileVersionInfoSize(std::string("C:\\") + kind.name, nullptr), 0u)
            << kind.name;
        EXPECT_EQ(info.GetLastError(), kErrorResourceTypeNotFound) << kind.name;
    }
    machine.Write("README.TXT", {'h', 'e', 'l', 'l', 'o'});
    machine.Write("EMPTY.DRV", {});
    for (const char* name : {"C:\\README.TXT", "C:\\EMPTY.DRV"}) {
        EXPECT_EQ(info.GetFileVersionInfoSize(name, nullptr), 0u);
        EXPECT_EQ(info.GetLastError(), kErrorBadFormat);
    }
    EXPECT_EQ(info.GetFileVersionInfoSize("C:\\MISSING.DRV", nullptr), 0u);
    EXPECT_EQ(info.GetLastError(), kErrorFileNotFound);
    EXPECT_EQ(info.GetFileVersionInfoSize("C:\\NODIR\\MISSING.DRV", nullptr), 0u);
    EXPECT_EQ(info.GetLastError(), kErrorPathNotFound);
    std::vector<BYTE> buffer(64);
    EXPECT_EQ(info.GetFileVersionInfo("C:\\README.TXT", 0, 64, buffer.data()), 0);
}

TEST_F(VersionInfoTest, ACompressedFileShowsTheVersionOfTheFileItExpandsTo) {
    const std::vector<BYTE> image = host::WriteNeImage(PortDriverRecord());
    machine.Write("TLDRV.DRV", image);
    const std::vector<BYTE> packed = host::CompressSzdd(image, 'V');
    machine.Write("TLDRV.DR_", packed);
    const std::vector<BYTE> block = Load("TLDRV.DR_");
    EXPECT_FALSE(block.empty());
    EXPECT_EQ(block, Load("TLDRV.DRV"));
    // Cut short, it does not expand and has no version.
    machine.Write("CUT.DR_", std::vector<BYTE>(packed.begin(), packed.end() - 20));
    EXPECT_EQ(info.GetFileVersionInfoSize("C:\\CUT.DR_", nullptr), 0u);
    EXPECT_NE(info.GetLastError(), kErrorSuccess);
}

// Every prefix and many single-byte corruptions of the images: the reader must stay inside the
// bytes (the sanitizers watch) and answer either nothing or a resource that lies inside the file.
TEST(VersionResourceReader, DamagedImagesAreReadSafely) {
    for (const ImageKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::vector<BYTE> image = kind.write(PortDriverRecord());
        for (std::size_t cut = 0; cut < image.size(); ++cut) {
            const std::span<const BYTE> prefix(image.data(), cut);
            const auto found = host::FindVersionResource(host::MemoryByteSource(prefix));
            if (found.location) {
                EXPECT_LE(found.location->offset + found.location->size, cut);
            }
        }
        for (std::size_t at = 0; at < image.size(); ++at) {
            std::vector<BYTE> damaged = image;
            damaged[at] = static_cast<BYTE>(damaged[at] ^ 0xA5);
            DWORD error = 0;
            const auto block = host::ReadVersionResource(host::MemoryByteSource(damaged), &error);
            if (block) {
                host::QueryVersionValue(*block, "\\");
                host::QueryVersionValue(*block, "\\StringFileInfo\\040904E4\\FileVersion");
            } else {
                EXPECT_NE(error, 0u);
            }
        }
    }
}

TEST(VersionQuery, RootNeedsAWholeFixedInfoAndTheBlockBoundsEveryRead) {
    std::vector<BYTE> block = host::BuildVersionBlock16(PortDriverRecord());
    ASSERT_TRUE(host::IsVersionBlock16(block));
    EXPECT_TRUE(host::QueryVersionValue(block, "\\"));
    EXPECT_TRUE(host::QueryVersionValue(block, ""));
    // A root that claims a 10-byte value has no fixed information to give.
    std::vector<BYTE> shortValue = block;
    shortValue[2] = 10;
    shortValue[3] = 0;
    EXPECT_FALSE(host::QueryVersionValue(shortValue, "\\"));
    // Cut the block short: the string table falls outside and is not found.
    EXPECT_FALSE(host::QueryVersionValue(std::span(block).first(80), "\\StringFileInfo"));
    EXPECT_FALSE(host::IsVersionBlock16(host::BuildVersionBlock32(PortDriverRecord())));
}

TEST(VersionRecordText, FourPartVersionsParse) {
    EXPECT_EQ(host::ParseFourPartVersion("4.0.0.950"), (std::array<WORD, 4>{4, 0, 0, 950}));
    EXPECT_EQ(host::ParseFourPartVersion("65535.1.2.3"), (std::array<WORD, 4>{65535, 1, 2, 3}));
    for (const char* bad :
         {"", "4.0.0", "4.0.0.950.1", "4.0.0.65536", "4..0.1", "4.0.0.x", "-1.0.0.0"}) {
        EXPECT_FALSE(host::ParseFourPartVersion(bad)) << bad;
    }
}

} // namespace
} // namespace tl
