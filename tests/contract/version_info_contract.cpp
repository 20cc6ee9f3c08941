#include "platform/host/szdd_compressor.h"
#include "platform/host/version_image_writer.h"
#include "port_contract.h"

#include <cstring>
#include <functional>

namespace tl::test {
namespace {

host::VersionRecord DriverRecord() {
    host::VersionRecord record;
    record.fileVersion = {4, 0, 0, 950};
    record.productVersion = {4, 0, 0, 951};
    record.fileType = kVftDrv;
    record.fileSubtype = kVft2DrvPrinter;
    record.strings = {{"CompanyName", "Telmora"}, {"FileVersion", "4.00.950"}};
    return record;
}

struct ImageKind {
    const char* name;
    std::function<std::vector<BYTE>(const std::optional<host::VersionRecord>&)> write;
    bool wide;
};

const ImageKind kKinds[] = {
    {"TLDRV.DRV", host::WriteNeImage, false},
    {"LPT.VXD", host::WriteLeImage, false},
    {"TLUI.DLL", host::WritePeImage, true},
};

std::string Bytes(const std::vector<BYTE>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::vector<BYTE> Load(VersionInfo& info, const std::string& path) {
    DWORD handle = 7;
    const DWORD size = info.GetFileVersionInfoSize(path, &handle);
    EXPECT_EQ(handle, 0u);
    std::vector<BYTE> block(size);
    if (size != 0) {
        EXPECT_EQ(info.GetFileVersionInfo(path, 0, size, block.data()), 1);
    }
    return block;
}

TEST_P(VersionInfoContract, ReadsTheVersionOfDriversDevicesAndImages) {
    VersionInfo& info = Ports().versionInfo;
    for (const ImageKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        if (!kind.wide && std::string_view(kind.name).ends_with(".VXD") &&
            WineDiffers("GetFileVersionInfoSizeA, LE images")) {
            continue;
        }
        WriteFile(kind.name, Bytes(kind.write(DriverRecord())));
        const std::vector<BYTE> block = Load(info, Path(kind.name));
        ASSERT_FALSE(block.empty()) << info.GetLastError();

        const void* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(info.VerQueryValue(block.data(), "\\", &value, &length));
        const auto fixed = ReadFixedFileInfo(value, length);
        ASSERT_TRUE(fixed);
        EXPECT_EQ(fixed->dwSignature, kVsFfiSignature);
        EXPECT_EQ(fixed->dwFileVersionMS, 0x00040000u);
        EXPECT_EQ(fixed->dwFileVersionLS, 950u);
        EXPECT_EQ(fixed->dwProductVersionLS, 951u);
        EXPECT_EQ(fixed->dwFileType, kVftDrv);
        EXPECT_EQ(fixed->dwFileSubtype, kVft2DrvPrinter);

        ASSERT_TRUE(
            info.VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length));
        EXPECT_EQ(length, 4u);
        EXPECT_EQ(std::memcmp(value, "\x09\x04\xE4\x04", 4), 0);
        EXPECT_FALSE(info.VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\Missing", &value,
                                        &length));
        ASSERT_TRUE(info.VerQueryValue(block.data(), "\\StringFileInfo\\040904e4\\CompanyName",
                                       &value, &length));
        if (!kind.wide) {
            EXPECT_STREQ(static_cast<const char*>(value), "Telmora");
        } else if (!WineDiffers("VerQueryValueA, 32-bit string values")) {
            EXPECT_EQ(length, 8u);
            EXPECT_EQ(std::memcmp(value, "T\0e\0l\0m\0o\0r\0a\0\0", 16), 0);
        }
    }
}

TEST_P(VersionInfoContract, FilesWithoutAVersionGiveSizeZeroAndTheReason) {
    VersionInfo& info = Ports().versionInfo;
    for (const ImageKind& kind : kKinds) {
        WriteFile(kind.name, Bytes(kind.write(std::nullopt)));
        EXPECT_EQ(info.GetFileVersionInfoSize(Path(kind.name), nullptr), 0u) << kind.name;
        if (!WineDiffers("GetFileVersionInfoSizeA, error codes")) {
            EXPECT_EQ(info.GetLastError(), kErrorResourceTypeNotFound) << kind.name;
        }
    }
    WriteFile("README.TXT", "hello, this is not a program");
    EXPECT_EQ(info.GetFileVersionInfoSize(Path("README.TXT"), nullptr), 0u);
    if (!WineDiffers("GetFileVersionInfoSizeA, error codes")) {
        EXPECT_EQ(info.GetLastError(), kErrorBadFormat);
    }
    EXPECT_EQ(info.GetFileVersionInfoSize(Path("MISSING.DRV"), nullptr), 0u);
    EXPECT_EQ(info.GetLastError(), kErrorFileNotFound);
    std::vector<BYTE> buffer(64);
    EXPECT_EQ(info.GetFileVersionInfo(Path("README.TXT"), 0, 64, buffer.data()), 0);
}

TEST_P(VersionInfoContract, CompressedFilesAndShortBuffers) {
    VersionInfo& info = Ports().versionInfo;
    const std::vector<BYTE> image = host::WriteNeImage(DriverRecord());
    WriteFile("TLDRV.DRV", Bytes(image));
    WriteFile("TLDRV.DR_", Bytes(host::CompressSzdd(image, 'V')));
    const std::vector<BYTE> plain = Load(info, Path("TLDRV.DRV"));
    EXPECT_FALSE(plain.empty());
    if (!WineDiffers("GetFileVersionInfoSizeA, compressed files")) {
        EXPECT_EQ(Load(info, Path("TLDRV.DR_")), plain);
    }

    const DWORD size = info.GetFileVersionInfoSize(Path("TLDRV.DRV"), nullptr);
    std::vector<BYTE> block(size);
    EXPECT_EQ(info.GetFileVersionInfo(Path("TLDRV.DRV"), 0, size - 1, block.data()), 0);
    EXPECT_EQ(info.GetLastError(), kErrorInsufficientBuffer);
}

} // namespace
} // namespace tl::test
