// tlins32a.exe's resource script, linked into this test program, read back through the system:
// the title artwork, the icon and the version record.
#include "platform/win32/win32_machine.h"
#include "resources/bitmap500.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// After the port headers (see win32_api.h).
#include "platform/win32/win32_api.h"

namespace tl::win32 {
namespace {

class NoEvents final : public EventSink {
public:
    void Record(PlatformEvent) override {}
};

TEST(ProgramResources, Bitmap500IsTheTitleArtwork) {
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                       MAKEINTRESOURCEA(kTitleBitmapId),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectA(bitmap, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, kTitleBitmapWidth);
    EXPECT_EQ(section.dsBm.bmHeight, kTitleBitmapHeight);
    EXPECT_EQ(section.dsBmih.biBitCount, 4);
    ::DeleteObject(bitmap);
}

TEST(ProgramResources, TheIconComesInTwoSizes) {
    for (int size : {16, 32}) {
        HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                   size, size, 0);
        EXPECT_NE(icon, nullptr) << size;
        ::DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST(ProgramResources, TheVersionRecordNamesTheProgram) {
    NoEvents events;
    Win32Machine machine(events);
    Platform& ports = machine.GetPlatform();
    const std::string self = ports.system.GetModuleFileName();
    const DWORD size = ports.versionInfo.GetFileVersionInfoSize(self, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(ports.versionInfo.GetFileVersionInfo(self, 0, size, block.data()));
    const void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(ports.versionInfo.VerQueryValue(block.data(), "\\", &value, &length));
    const auto fixed = ReadFixedFileInfo(value, length);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->dwFileType, kVftApp);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000001u); // 0.1
    ASSERT_TRUE(ports.versionInfo.VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value,
                                                &length));
    EXPECT_EQ(std::memcmp(value, "\x12\x04\xB5\x03", 4), 0) << "Korean, code page 949";
    ASSERT_TRUE(ports.versionInfo.VerQueryValue(
        block.data(), "\\StringFileInfo\\041203B5\\OriginalFilename", &value, &length));
    EXPECT_EQ(length, 13u);
}

} // namespace
} // namespace tl::win32
