// Loaded setup scripts and the current script.
//
// A script is loaded whole and compacted into one buffer (inf_compact.h). Callers hold scripts
// and lines as handles, never as raw pointers: a handle names its buffer by an id that is never
// reused, so a line kept after its script was released reads as "none" instead of reaching
// freed or foreign memory.
#pragma once

#include "platform/file_system.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

// One loaded script.
struct InfScript {
    std::uint32_t id = 0;
    friend bool operator==(InfScript, InfScript) = default;
};

// One line of a loaded script: its script and the offset of its first byte in the buffer.
struct InfLine {
    InfScript script;
    std::uint32_t offset = 0;
    friend bool operator==(InfLine, InfLine) = default;
};

// The scripts that are loaded and the current script. One of these belongs to the process.
class SetupScripts {
public:
    // Takes ownership of a compacted buffer. When there is no current script it becomes it.
    InfScript Adopt(std::string compacted);
    // Drops a buffer; when it was the current script there is none afterwards.
    void Release(InfScript script);

    // The compacted bytes of a script that is loaded, or none.
    std::optional<std::string_view> Bytes(InfScript script) const;
    std::optional<InfScript> Current() const { return current_; }

private:
    std::map<std::uint32_t, std::string> buffers_;
    std::optional<InfScript> current_;
    std::uint32_t lastId_ = 0;
};

enum class InfLoadStatus {
    Loaded,
    NotLoaded, // the file cannot be opened or read, or is too large to hold
    Empty,     // the file has no bytes
};

struct InfLoadResult {
    InfLoadStatus status = InfLoadStatus::NotLoaded;
    InfScript script;            // when Loaded
    DWORD error = kErrorSuccess; // when NotLoaded: the reason, as GetLastError gives it
};

// Files larger than this are refused as NotLoaded (with kErrorNotEnoughMemory): no setup
// script comes near it, and it keeps a damaged or wrong file from exhausting memory.
inline constexpr DWORD kMaxInfFileSize = 64u * 1024u * 1024u;

// Loads and compacts the script at `path`. A successful load made while there is no current
// script makes it the current script; a failed load changes nothing.
[[nodiscard]] InfLoadResult LoadInf(SetupScripts& scripts, FileSystem& files,
                                    std::string_view path);

// Releases `script`, or with none the current script (nothing happens when there is none).
// Releasing a script that is no longer loaded does nothing.
void FreeInf(SetupScripts& scripts, std::optional<InfScript> script = std::nullopt);

} // namespace tl
