#include "platform/win32/ui/hangul_font.h"

#include "platform/win32/ui/win32_api.h"

#include <array>
#include <cstring>

namespace tl::win32ui {
namespace {

int CALLBACK FoundFace(const LOGFONTA*, const TEXTMETRICA*, ::DWORD, ::LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

} // namespace

bool FaceHasHangul(std::string_view face) {
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    // The ANSI form: Windows 95 has no wide one.
    LOGFONTA wanted{};
    wanted.lfCharSet = kHangulCharset;
    std::memcpy(wanted.lfFaceName, face.data(), face.size());
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return false;
    bool found = false;
    EnumFontFamiliesExA(screen, &wanted, FoundFace, reinterpret_cast<::LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

std::string HangulFace(std::string_view face) {
    if (FaceHasHangul(face))
        return std::string(face);
    constexpr std::array<const char*, 8> kKoreanFaces = {
        "Gulim",       "GulimChe",         "Dotum",  "Batang", "Malgun Gothic",
        "NanumGothic", "NanumBarunGothic", "UnDotum"};
    for (const char* korean : kKoreanFaces) {
        if (FaceHasHangul(korean))
            return korean;
    }
    return std::string(face);
}

} // namespace tl::win32ui
