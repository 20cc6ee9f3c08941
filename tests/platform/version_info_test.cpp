// The host's version records: what the image writers make, read back where the file holds it and
// as wrestool finds it; damaged images and blocks read safely.
#include "host_pc.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/version_block_writer.h"
#include "platform/host/version_image_writer.h"
#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"

#include <cstdlib>
#include <cstring>
#include <functional>

namespace tl::host {
namespace {

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

struct ImageKind {
    const char* name;
    std::function<std::vector<BYTE>(const std::optional<VersionRecord>&)> write;
    bool wide;
};

const ImageKind kKinds[] = {
    {"LPT.VXD", WriteLeImage, false},
    {"TLDRV.DRV", WriteNeImage, false},
    {"TLUI.DLL", WritePeImage, true},
};

class VersionInfoTest : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::vector<BYTE>& bytes) {
        pc.folder.WriteFile("drive_c/" + name, std::string(bytes.begin(), bytes.end()));
    }
    std::vector<BYTE> Load(const std::string& name) {
        VersionInfo& info = pc.Ports().versionInfo;
        std::vector<BYTE> block(info.GetFileVersionInfoSize("C:\\" + name, nullptr));
        if (!block.empty()) {
            EXPECT_EQ(info.GetFileVersionInfo("C:\\" + name, 0, static_cast<DWORD>(block.size()),
                                              block.data()),
                      1);
        }
        return block;
    }

    test::HostPc pc;
};

// A compressed file cut short has no version; the others are what wrestool finds.
TEST_F(VersionInfoTest, WrestoolFindsTheSameResourceInTheNeAndPeImages) {
    const std::vector<BYTE> packed = CompressSzdd(WriteNeImage(PortDriverRecord()), 'V');
    Put("CUT.DR_", std::vector<BYTE>(packed.begin(), packed.end() - 20));
    EXPECT_TRUE(Load("CUT.DR_").empty());
    EXPECT_NE(pc.Ports().versionInfo.GetLastError(), kErrorSuccess);
    if (std::system("command -v wrestool >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "wrestool is not installed";
    }
    for (const ImageKind& kind : kKinds) {
        if (std::string_view(kind.name) == "LPT.VXD") {
            continue; // wrestool does not read virtual device drivers
        }
        SCOPED_TRACE(kind.name);
        Put(kind.name, kind.write(PortDriverRecord()));
        const std::filesystem::path c = pc.folder.Root() / "drive_c";
        const std::string command = "wrestool -x --raw -t16 '" + (c / kind.name).string() +
                                    "' > '" + (c / "out.bin").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const std::string extracted = pc.folder.ReadFile("drive_c/out.bin");
        const std::vector<BYTE> loaded = Load(kind.name);
        EXPECT_EQ(extracted, std::string(loaded.begin(), loaded.end()));
        const std::vector<BYTE> expected = kind.wide ? BuildVersionBlock32(PortDriverRecord())
                                                     : BuildVersionBlock16(PortDriverRecord());
        EXPECT_EQ(extracted.substr(0, expected.size()),
                  std::string(expected.begin(), expected.end()));
    }
}

// Every prefix and many single-byte corruptions of the images: the reader must stay inside the
// bytes (the sanitizers watch) and answer either nothing or a resource that lies inside the file.
TEST(VersionResourceReader, DamagedImagesAreReadSafely) {
    for (const ImageKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        const std::vector<BYTE> image = kind.write(PortDriverRecord());
        for (std::size_t cut = 0; cut < image.size(); ++cut) {
            const std::span<const BYTE> prefix(image.data(), cut);
            const auto found = FindVersionResource(MemoryByteSource(prefix));
            if (found.location) {
                EXPECT_LE(found.location->offset + found.location->size, cut);
            }
        }
        for (std::size_t at = 0; at < image.size(); ++at) {
            std::vector<BYTE> damaged = image;
            damaged[at] = static_cast<BYTE>(damaged[at] ^ 0xA5);
            DWORD error = 0;
            const auto block = ReadVersionResource(MemoryByteSource(damaged), &error);
            if (block) {
                QueryVersionValue(*block, "\\");
                QueryVersionValue(*block, "\\StringFileInfo\\040904E4\\FileVersion");
            } else {
                EXPECT_NE(error, 0u);
            }
        }
    }
}

TEST(VersionQuery, RootNeedsAWholeFixedInfoAndTheBlockBoundsEveryRead) {
    std::vector<BYTE> block = BuildVersionBlock16(PortDriverRecord());
    ASSERT_TRUE(IsVersionBlock16(block));
    EXPECT_TRUE(QueryVersionValue(block, "\\"));
    EXPECT_TRUE(QueryVersionValue(block, ""));
    // A root that claims a 10-byte value has no fixed information to give.
    std::vector<BYTE> shortValue = block;
    shortValue[2] = 10;
    shortValue[3] = 0;
    EXPECT_FALSE(QueryVersionValue(shortValue, "\\"));
    // Cut the block short: the string table falls outside and is not found.
    EXPECT_FALSE(QueryVersionValue(std::span(block).first(80), "\\StringFileInfo"));
    EXPECT_FALSE(IsVersionBlock16(BuildVersionBlock32(PortDriverRecord())));
}

TEST(VersionRecordText, FourPartVersionsParse) {
    EXPECT_EQ(ParseFourPartVersion("4.0.0.950"), (std::array<WORD, 4>{4, 0, 0, 950}));
    EXPECT_EQ(ParseFourPartVersion("65535.1.2.3"), (std::array<WORD, 4>{65535, 1, 2, 3}));
    for (const char* bad :
         {"", "4.0.0", "4.0.0.950.1", "4.0.0.65536", "4..0.1", "4.0.0.x", "-1.0.0.0"}) {
        EXPECT_FALSE(ParseFourPartVersion(bad)) << bad;
    }
}

} // namespace
} // namespace tl::host
