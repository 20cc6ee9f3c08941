// A failure the installer met, for the record: the Win32 call that failed, the file as the
// installer named it (code page 949 bytes) and the error code. Written for every failure,
// whether or not a message box tells the user, so that the transcript says what a box does not:
// {"event":"error","operation":"MoveFileEx","file":"C:\\WINDOWS\\WIN.INI","code":5}
#pragma once

#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/platform.h"
#include "platform/win_types.h"

#include <string>
#include <string_view>

namespace tl {

inline PlatformEvent MakeErrorEvent(const CodePage& codePage, std::string_view operation,
                                    std::string_view file, DWORD code) {
    PlatformEvent error{"error", {}};
    error.fields.emplace_back("operation", std::string(operation));
    error.fields.emplace_back("file", codePage.ToUtf8(file));
    error.fields.emplace_back("code", static_cast<std::int64_t>(code));
    return error;
}

inline void RecordError(const Platform& platform, std::string_view operation,
                        std::string_view file, DWORD code) {
    platform.events.Record(MakeErrorEvent(platform.codePage, operation, file, code));
}

} // namespace tl
