// A test's plan of file-system faults for the simulated PC, from the [Faults] section of
// machine.ini (never set by a real machine folder):
//
//   [Faults]
//   Fail=write 3 112      ; the 3rd write fails with error 112 (kinds: create, write, move,
//                         ; delete, read; errors: 5, 32, 112)
//   StopAfterWrite=7      ; the process ends at once right after the 7th write, as at a crash
//   CountFile=counts.txt  ; at the end, the number of calls of each kind (relative to the
//                         ; machine folder)
//   TraceFile=calls.txt   ; every call, one line each: its kind, its number and the host file
//                         ; it was made on (relative to the machine folder)
//
// Every adapter that touches the drives' files asks the plan before a call of a kind and tells
// it after a write, so that the Nth call is the same in every run of the same install.
#pragma once

#include "platform/win_types.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace tl::host {

enum class FaultKind { Create, Write, Move, Delete, Read };
inline constexpr std::size_t kFaultKinds = 5;

struct FaultSettings {
    struct Failure {
        FaultKind kind = FaultKind::Write;
        std::uint64_t nth = 0;
        DWORD error = 0;
    };
    std::optional<Failure> failure;
    std::optional<std::uint64_t> stopAfterWrite;
    std::optional<std::filesystem::path> countFile;
    std::optional<std::filesystem::path> traceFile;

    bool Empty() const { return !failure && !stopAfterWrite && !countFile && !traceFile; }
};

// Reads one key of [Faults]; an error text when the value cannot be used.
std::string ParseFaultSetting(FaultSettings& settings, std::string_view key, std::string_view value,
                              const std::filesystem::path& machineDir);

std::string_view FaultKindName(FaultKind kind);

class FaultPlan {
public:
    explicit FaultPlan(FaultSettings settings);
    ~FaultPlan();
    FaultPlan(const FaultPlan&) = delete;
    FaultPlan& operator=(const FaultPlan&) = delete;

    // Counts one call of the kind on the host file `file` (for the trace): the error it is to
    // fail with, or 0 when it goes ahead.
    DWORD Call(FaultKind kind, const std::filesystem::path& file);
    // After a write was done: ends the process when it was the planned last one.
    void Written() const;

private:
    FaultSettings settings_;
    std::array<std::uint64_t, kFaultKinds> counts_{};
    std::ofstream trace_;
};

} // namespace tl::host
