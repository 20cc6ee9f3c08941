#include "platform/broadcast_event.h"

#include <cstdint>
#include <string>
#include <utility>

namespace tl::ui {
namespace {

constexpr UINT kWinIniChange = 0x001A; // WM_WININICHANGE

} // namespace

PlatformEvent BroadcastEvent(UINT message, LPARAM lParam, const CodePage& codePage) {
    PlatformEvent event{"broadcast", {}};
    switch (message) {
    case WM_DEVMODECHANGE:
        event.fields.emplace_back("message", std::string("WM_DEVMODECHANGE"));
        break;
    case WM_FONTCHANGE:
        event.fields.emplace_back("message", std::string("WM_FONTCHANGE"));
        break;
    case kWinIniChange:
        event.fields.emplace_back("message", std::string("WM_WININICHANGE"));
        break;
    default:
        event.fields.emplace_back("message", static_cast<std::int64_t>(message));
        break;
    }
    if ((message == WM_DEVMODECHANGE || message == kWinIniChange) && lParam)
        event.fields.emplace_back("text", codePage.ToUtf8(reinterpret_cast<const char*>(lParam)));
    return event;
}

} // namespace tl::ui
