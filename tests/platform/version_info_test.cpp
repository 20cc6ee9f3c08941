// The host's version records: compressed files cut short, damaged images and blocks read safely.
// (The port contract reads the images the writers make through Windows' own version calls.)
#include "host_pc.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/version_block_writer.h"
#include "platform/host/version_image_writer.h"
#include "platform/host/version_query.h"
#include "platform/host/version_resource_reader.h"

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
    std::vector<BYTE> (*write)(const std::optional<VersionRecord>&);
};

const ImageKind kKinds[] = {
    {"LPT.VXD", WriteLeImage},
    {"TLDRV.DRV", WriteNeImage},
    {"TLUI.DLL", WritePeImage},
};

TEST(VersionInfoTest, ACompressedFileCutShortHasNoVersion) {
    test::HostPc pc;
    const std::vector<BYTE> packed = CompressSzdd(WriteNeImage(PortDriverRecord()), 'V');
    pc.folder.WriteFile("drive_c/CUT.DR_", std::string(packed.begin(), packed.end() - 20));
    EXPECT_EQ(pc.Ports().versionInfo.GetFileVersionInfoSize("C:\\CUT.DR_", nullptr), 0u);
    EXPECT_NE(pc.Ports().versionInfo.GetLastError(), kErrorSuccess);
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
