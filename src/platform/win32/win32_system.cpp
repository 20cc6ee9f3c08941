#include "platform/win32/win32_system.h"

#include "platform/win32/win32_api.h"

#include <charconv>
#include <string>

namespace tl::win32 {
namespace {

constexpr UINT kBroadcastTimeoutMs = 5000;

std::string Z(std::string_view text) {
    return std::string(text);
}

// A directory call that fills a buffer and returns the length, or the size needed when the
// buffer is too small.
template <typename Call> std::string Fetch(Call call) {
    std::string text(MAX_PATH, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        UINT length = call(text.data(), static_cast<UINT>(text.size()));
        if (length == 0) {
            return {};
        }
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length + 1);
    }
    return {};
}

// The name a transcript gives a broadcast message.
std::string MessageName(UINT message) {
    if (message == kWmDevModeChange) {
        return "WM_DEVMODECHANGE";
    }
    if (message == kWmFontChange) {
        return "WM_FONTCHANGE";
    }
    char text[16];
    auto [end, ec] = std::to_chars(text, text + sizeof text, message, 16);
    (void)ec;
    return "0x" + std::string(text, end);
}

void TakeShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return; // Windows 95: no security, nothing to take
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    ::CloseHandle(token);
}

} // namespace

Win32System::Win32System(const CodePage& codePage, EventSink& events, Win32SystemOptions options)
    : codePage_(codePage), events_(events), options_(options) {}

std::string Win32System::GetWindowsDirectory() const {
    return Fetch([](char* buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); });
}

std::string Win32System::GetSystemDirectory() const {
    return Fetch([](char* buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); });
}

std::string Win32System::GetModuleFileName() const {
    // GetModuleFileNameA cuts the name to fit and says nothing, so a full buffer is tried again
    // with a larger one.
    return Fetch([](char* buffer, UINT size) -> UINT {
        ::DWORD length = ::GetModuleFileNameA(nullptr, buffer, size);
        return length >= size ? size : static_cast<UINT>(length);
    });
}

DWORD Win32System::GetVersion() const {
    return static_cast<DWORD>(::GetVersion());
}

ATOM Win32System::GlobalFindAtom(std::string_view name) const {
    return ::GlobalFindAtomA(Z(name).c_str());
}

ATOM Win32System::GlobalAddAtom(std::string_view name) {
    return ::GlobalAddAtomA(Z(name).c_str());
}

ATOM Win32System::GlobalDeleteAtom(ATOM atom) {
    return ::GlobalDeleteAtom(atom);
}

UINT Win32System::SetErrorMode(UINT mode) {
    return ::SetErrorMode(mode);
}

BOOL Win32System::ExitWindowsEx(UINT flags, DWORD reserved) {
    events_.Record(PlatformEvent{"restart", {{"flags", std::int64_t{flags}}}});
    if (!options_.restartForReal) {
        return TRUE;
    }
    TakeShutdownPrivilege();
    return ::ExitWindowsEx(flags, reserved);
}

void Win32System::BroadcastMessage(UINT message, std::string_view text) {
    PlatformEvent event{"broadcast", {{"message", MessageName(message)}}};
    if (message == kWmDevModeChange) {
        event.fields.emplace_back("text", codePage_.ToUtf8(text));
    }
    events_.Record(std::move(event));
    const std::string lParam = Z(text);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(HWND_BROADCAST, message, 0,
                          message == kWmDevModeChange ? reinterpret_cast<LPARAM>(lParam.c_str())
                                                      : 0,
                          SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &result);
}

int Win32System::AddFontResource(std::string_view fontFile) {
    events_.Record(PlatformEvent{"addfont", {{"file", codePage_.ToUtf8(fontFile)}}});
    return ::AddFontResourceA(Z(fontFile).c_str());
}

BOOL Win32System::RemoveFontResource(std::string_view fontFile) {
    events_.Record(PlatformEvent{"removefont", {{"file", codePage_.ToUtf8(fontFile)}}});
    return ::RemoveFontResourceA(Z(fontFile).c_str());
}

BOOL Win32System::MessageBeep(UINT type) {
    events_.Record(
        PlatformEvent{"beep", {{"type", std::int64_t{static_cast<std::int32_t>(type)}}}});
    return ::MessageBeep(type);
}

} // namespace tl::win32
