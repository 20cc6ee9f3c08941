#include "platform/host/fault_plan.h"

#include <charconv>
#include <cstdlib>
#include <fstream>

namespace tl::host {
namespace {

constexpr std::array<std::string_view, kFaultKinds> kNames{"create", "write", "move", "delete",
                                                           "read"};

std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

// The next word of `text` (blank separated), taken off its front.
std::string_view Word(std::string_view& text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        text = {};
        return {};
    }
    text.remove_prefix(start);
    const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(end);
    return word;
}

} // namespace

std::string_view FaultKindName(FaultKind kind) {
    return kNames[static_cast<std::size_t>(kind)];
}

std::string ParseFaultSetting(FaultSettings& settings, std::string_view key, std::string_view value,
                              const std::filesystem::path& machineDir) {
    auto is = [key](std::string_view name) {
        if (key.size() != name.size()) {
            return false;
        }
        for (std::size_t i = 0; i < key.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(key[i])) !=
                std::tolower(static_cast<unsigned char>(name[i]))) {
                return false;
            }
        }
        return true;
    };
    if (is("Fail")) {
        const std::string_view kindName = Word(value);
        const std::optional<std::uint64_t> nth = Number(Word(value));
        const std::optional<std::uint64_t> error = Number(Word(value));
        std::optional<FaultKind> kind;
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (kNames[i] == kindName) {
                kind = static_cast<FaultKind>(i);
            }
        }
        if (!kind || !nth || *nth == 0 || !error || !Word(value).empty() ||
            (*error != kErrorAccessDenied && *error != kErrorSharingViolation &&
             *error != kErrorDiskFull)) {
            return "Fail must read KIND N ERROR (create, write, move, delete or read; N from 1; "
                   "error 5, 32 or 112)";
        }
        settings.failure = FaultSettings::Failure{*kind, *nth, static_cast<DWORD>(*error)};
    } else if (is("StopAfterWrite")) {
        const std::optional<std::uint64_t> nth = Number(value);
        if (!nth || *nth == 0) {
            return "StopAfterWrite must be a count of writes from 1";
        }
        settings.stopAfterWrite = nth;
    } else if (is("CountFile")) {
        if (value.empty()) {
            return "CountFile must name a file";
        }
        settings.countFile = machineDir / std::filesystem::path(std::string(value));
    } else if (is("TraceFile")) {
        if (value.empty()) {
            return "TraceFile must name a file";
        }
        settings.traceFile = machineDir / std::filesystem::path(std::string(value));
    }
    return {};
}

FaultPlan::FaultPlan(FaultSettings settings) : settings_(std::move(settings)) {
    if (settings_.traceFile) {
        trace_.open(*settings_.traceFile, std::ios::binary | std::ios::trunc);
    }
}

FaultPlan::~FaultPlan() {
    if (!settings_.countFile) {
        return;
    }
    std::ofstream out(*settings_.countFile, std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < kFaultKinds; ++i) {
        out << kNames[i] << '=' << counts_[i] << '\n';
    }
}

DWORD FaultPlan::Call(FaultKind kind, const std::filesystem::path& file) {
    const std::uint64_t count = ++counts_[static_cast<std::size_t>(kind)];
    if (trace_.is_open()) {
        const std::filesystem::path machineDir = settings_.traceFile->parent_path();
        // Files outside the machine folder (the install disk) are named in full.
        std::string name = file.lexically_relative(machineDir).generic_string();
        if (name.empty() || name.starts_with("..")) {
            name = file.generic_string();
        }
        trace_ << FaultKindName(kind) << ' ' << count << ' ' << name << std::endl;
    }
    const auto& failure = settings_.failure;
    return failure && failure->kind == kind && failure->nth == count ? failure->error
                                                                     : kErrorSuccess;
}

void FaultPlan::Written() const {
    const std::uint64_t writes = counts_[static_cast<std::size_t>(FaultKind::Write)];
    if (settings_.stopAfterWrite && *settings_.stopAfterWrite == writes) {
        std::_Exit(9); // as a power cut would: nothing more is written, nothing is cleaned up
    }
}

} // namespace tl::host
