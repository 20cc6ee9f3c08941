#include "platform/win32/ui/screen_picture.h"

#include "platform/win32/ui/win32_api.h"

#include <cstdio>
#include <vector>

namespace tl::win32ui {
namespace {

BOOL CALLBACK CollectVisible(HWND window, ::LPARAM param) {
    if (::IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

template <typename T> void Put(std::vector<char>& out, T value) {
    const char* bytes = reinterpret_cast<const char*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof(T));
}

} // namespace

bool SaveScreenPicture(const std::wstring& path, bool paintPending) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as a .BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC memory = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!picture || !bits) {
        DeleteDC(memory);
        return false;
    }
    HGDIOBJ previous = SelectObject(memory, picture);
    ::RECT screen{0, 0, width, height};
    ::FillRect(memory, &screen, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    // EnumThreadWindows goes from the top of the z-order down: paint in the reverse order.
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<::LPARAM>(&windows));
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        HWND window = *it;
        if (paintPending)
            RedrawWindow(window, nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::RECT place{};
        ::GetWindowRect(window, &place);
        HDC source = GetWindowDC(window);
        if (!source)
            continue;
        ::BitBlt(memory, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 source, 0, 0, SRCCOPY);
        ::ReleaseDC(window, source);
    }
    GdiFlush();

    const auto stride = static_cast<std::size_t>((width * 3 + 3) & ~3);
    const std::size_t imageSize = stride * static_cast<std::size_t>(height);
    std::vector<char> file;
    Put<WORD>(file, 0x4D42); // "BM"
    Put<DWORD>(file, static_cast<DWORD>(14 + sizeof(BITMAPINFOHEADER) + imageSize));
    Put<DWORD>(file, 0);
    Put<DWORD>(file, static_cast<DWORD>(14 + sizeof(BITMAPINFOHEADER)));
    const char* header = reinterpret_cast<const char*>(&info.bmiHeader);
    file.insert(file.end(), header, header + sizeof(BITMAPINFOHEADER));
    const char* pixels = static_cast<const char*>(bits);
    file.insert(file.end(), pixels, pixels + imageSize);

    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);

    std::FILE* out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

} // namespace tl::win32ui
