#include "platform/host/machine_system.h"

#include "platform/host/ini_text.h"

#include <algorithm>
#include <charconv>

namespace tl::host {
namespace {

constexpr std::size_t kMaxAtomName = 255;

// "#123" names the integer atom 123, which needs no table entry.
std::optional<ATOM> IntegerAtom(std::string_view name) {
    if (name.size() < 2 || name[0] != '#') {
        return std::nullopt;
    }
    unsigned value = 0;
    auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), value);
    if (ec != std::errc{} || end != name.data() + name.size() || value == 0 || value >= 0xC000) {
        return std::nullopt;
    }
    return static_cast<ATOM>(value);
}

std::string MessageName(UINT message) {
    switch (message) {
    case kWmDevModeChange:
        return "WM_DEVMODECHANGE";
    case kWmFontChange:
        return "WM_FONTCHANGE";
    default:
        return "0x" + [&] {
            char text[16];
            auto [end, ec] = std::to_chars(text, text + sizeof text, message, 16);
            (void)ec;
            return std::string(text, end);
        }();
    }
}

} // namespace

MachineSystem::MachineSystem(const MachineConfig& config, const CodePage& codePage,
                             FileSystem& files, EventSink& events)
    : config_(config), codePage_(codePage), files_(files), events_(events) {
    for (const std::string& name : config.atoms) {
        GlobalAddAtom(name);
    }
}

DWORD MachineSystem::GetVersion() const {
    DWORD version = config_.versionMajor | (DWORD{config_.versionMinor} << 8);
    // Windows 95, 98 and Me (4.x) mark themselves with the top bits; Windows NT does not.
    return config_.versionMajor == 4 ? version | 0xC0000000u : version;
}

std::vector<MachineSystem::Atom>::const_iterator
MachineSystem::FindAtom(std::string_view name) const {
    return std::find_if(atoms_.begin(), atoms_.end(),
                        [&](const Atom& atom) { return ProfileNameEquals(atom.name, name); });
}

ATOM MachineSystem::GlobalFindAtom(std::string_view name) const {
    if (auto integer = IntegerAtom(name)) {
        return *integer;
    }
    auto atom = FindAtom(name);
    return atom == atoms_.end() ? ATOM{0} : atom->value;
}

ATOM MachineSystem::GlobalAddAtom(std::string_view name) {
    if (auto integer = IntegerAtom(name)) {
        return *integer;
    }
    if (name.empty() || name.size() > kMaxAtomName) {
        return 0;
    }
    if (auto found = FindAtom(name); found != atoms_.end()) {
        Atom& atom = atoms_[static_cast<std::size_t>(found - atoms_.begin())];
        ++atom.references;
        return atom.value;
    }
    if (nextAtom_ == 0) {
        return 0; // the table is full
    }
    atoms_.push_back(Atom{std::string(name), nextAtom_, 1});
    nextAtom_ = nextAtom_ == 0xFFFF ? ATOM{0} : static_cast<ATOM>(nextAtom_ + 1);
    return atoms_.back().value;
}

ATOM MachineSystem::GlobalDeleteAtom(ATOM atom) {
    if (atom != 0 && atom < 0xC000) {
        return 0; // integer atoms are never stored
    }
    auto it = std::find_if(atoms_.begin(), atoms_.end(),
                           [&](const Atom& entry) { return entry.value == atom; });
    if (it == atoms_.end()) {
        return atom;
    }
    if (--it->references == 0) {
        atoms_.erase(it);
    }
    return 0;
}

UINT MachineSystem::SetErrorMode(UINT mode) {
    UINT previous = errorMode_;
    errorMode_ = mode;
    return previous;
}

BOOL MachineSystem::ExitWindowsEx(UINT flags, DWORD reserved) {
    (void)reserved;
    events_.Record(PlatformEvent{"restart", {{"flags", std::int64_t{flags}}}});
    return 1;
}

void MachineSystem::BroadcastMessage(UINT message, std::string_view text) {
    PlatformEvent event{"broadcast", {{"message", MessageName(message)}}};
    if (message == kWmDevModeChange) {
        event.fields.emplace_back("text", codePage_.ToUtf8(text));
    }
    events_.Record(std::move(event));
}

int MachineSystem::AddFontResource(std::string_view fontFile) {
    events_.Record(PlatformEvent{"addfont", {{"file", codePage_.ToUtf8(fontFile)}}});
    DWORD attributes = files_.GetFileAttributes(fontFile);
    return attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory) ? 0 : 1;
}

// The machine keeps no font table: the removal shows as an event, and succeeds for a font file
// that is there, as AddFontResource does.
BOOL MachineSystem::RemoveFontResource(std::string_view fontFile) {
    events_.Record(PlatformEvent{"removefont", {{"file", codePage_.ToUtf8(fontFile)}}});
    DWORD attributes = files_.GetFileAttributes(fontFile);
    return attributes == kInvalidFileAttributes || (attributes & kFileAttributeDirectory) ? 0 : 1;
}

BOOL MachineSystem::MessageBeep(UINT type) {
    // MessageBeep(-1) is the plain beep; the type is written as the signed number the caller
    // passed.
    events_.Record(
        PlatformEvent{"beep", {{"type", std::int64_t{static_cast<std::int32_t>(type)}}}});
    return 1;
}

} // namespace tl::host
