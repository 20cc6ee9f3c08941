#include "platform/win32/ui/hangul_font.h"

#include "platform/win32/ui/win32_api.h"

#include <array>
#include <cwchar>

namespace tl::win32ui {
namespace {

int CALLBACK FoundFace(const LOGFONTW*, const TEXTMETRICW*, ::DWORD, ::LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

} // namespace

bool FaceHasHangul(std::wstring_view face) {
    if (face.empty() || face.size() >= LF_FACESIZE)
        return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = kHangulCharset;
    std::wmemcpy(wanted.lfFaceName, face.data(), face.size());
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return false;
    bool found = false;
    EnumFontFamiliesExW(screen, &wanted, FoundFace, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

std::wstring HangulFace(std::wstring_view face) {
    if (FaceHasHangul(face))
        return std::wstring(face);
    constexpr std::array<const wchar_t*, 8> kKoreanFaces = {
        L"Gulim",       L"GulimChe",         L"Dotum",  L"Batang", L"Malgun Gothic",
        L"NanumGothic", L"NanumBarunGothic", L"UnDotum"};
    for (const wchar_t* korean : kKoreanFaces) {
        if (FaceHasHangul(korean))
            return korean;
    }
    return std::wstring(face);
}

} // namespace tl::win32ui
