// The whole installer on a fuzzed install disk: the input is INSTALL.INF and the catalogue
// WIN95\OEMSETUP.INF, split at the first NUL byte; the rest of the disk is the sample disk, the PC
// a fresh copy of a machine folder made once; every question takes its default answer. A run must
// end (a stop ends it as the program's exit would), must not crash, and must write nothing outside
// the machine folder (a run that never ends is libFuzzer's time-out). The setup-script reader
// compacts INSTALL.INF as a second compactor, written the way its rules are stated, does.
#include "fuzz.h"
#include "init_command.h"
#include "platform/host/event_log.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/machine_directories.h"
#include "sequencer/entry.h"
#include "state/inf_compact.h"
#include "state/inf_scripts.h"
#include "state/installer.h"
#include "ui/unattended/unattended_frontend.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace fs = std::filesystem;
using tl::fuzz::Check;

namespace {

struct RunStopped {}; // thrown by the stop handler: the program would exit there

// Bytes are taken one at a time, and one is examined only while fewer than the limit have been
// taken: the file's length when its last byte is a line feed or 0x1A (never examined), one more
// otherwise.
std::string CompactAsStated(std::string_view file) {
    const std::size_t length = file.size();
    const bool marked = length > 0 && (file.back() == '\n' || file.back() == 0x1a);
    const std::size_t limit = marked ? length : length + 1;
    std::size_t taken = 0;
    const auto take = [&] { return taken < length ? file[taken++] : (++taken, '\0'); };
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::string out;
    bool inQuotes = false;
    char c = take();
    while (taken < limit) {
        if (c == '\r' || ((c == ' ' || c == '\t') && !inQuotes)) {
            c = take();
        } else if (c == ';') {
            while (c != '\n' && c != '\r' && c != '\0' && c != 0x1a && taken < limit)
                c = take();
        } else if (c == '\n') {
            do {
                c = take();
            } while (blank(c) && taken < limit);
            if (c != ';')
                out.push_back('\0');
            if (c == '[')
                out.push_back('\0');
            inQuotes = false;
        } else {
            inQuotes = c == '"' ? !inQuotes : inQuotes;
            out.push_back(c);
            c = take();
        }
    }
    return out.append(tl::kInfEndBytes);
}

// Size and time of every file and folder under `root` but those in `skip` (and what is in them).
using Listing = std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>>;
Listing List(const fs::path& root, const std::vector<fs::path>& skip) {
    Listing listing;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        if (std::find(skip.begin(), skip.end(), it->path()) != skip.end())
            it.disable_recursion_pending();
        else
            listing[it->path().string()] = {it->is_regular_file() ? it->file_size() : 0,
                                            it->last_write_time()};
    }
    return listing;
}

// The folders of one fuzzing process, made once; beside the machine lie a canary file and the disk.
struct Folders {
    fs::path root = tl::fuzz::Folder("install");
    fs::path machineTemplate = root / "template", machine = root / "machine", disk = root / "disk";
    std::vector<fs::path> skipped{machine, disk / "INSTALL.INF", disk / "WIN95" / "OEMSETUP.INF"};
    Listing outside; // all but the machine folder and the disk's two scripts, as it must stay

    Folders() {
        tl::host::MachineTemplateOptions options;
        options.ecpPorts = {1};
        std::string error;
        Check(tl::tools::InitMachineFolder(machineTemplate, options, {}, error));
        // What another vendor's software left behind, for [DeleteIni] to take out.
        const fs::path windows = machineTemplate / "drive_c" / "WINDOWS";
        for (const auto& [file, from, to] :
             {std::tuple{"SYSTEM.INI", "[386Enh]\r\n",
                         "[386Enh]\r\ndevice=BIDI.386\r\ndevice=*vcomm,TLPM20.386\r\n"},
              std::tuple{"WIN.INI", "load=\r\n", "load=TLSTAT.EXE\r\n"}}) {
            std::string text = tl::fuzz::Read(windows / file);
            Check(text.find(from) != std::string::npos);
            tl::fuzz::Write(windows / file, text.replace(text.find(from), std::strlen(from), to));
        }
        fs::copy(TL_SAMPLE_DISK, disk, fs::copy_options::recursive);
        tl::fuzz::Write(root / "canary", "must stay as it is\n");
        outside = List(root, skipped);
    }
    ~Folders() {
        std::error_code error;
        fs::remove_all(root, error);
    }
};

} // namespace

TL_FUZZ_TARGET(bytes) {
    static Folders folders;
    const std::string_view input = Text(bytes);
    const std::size_t split = input.find('\0');
    const std::string_view scripts[] = {input.substr(0, split),
                                        split == input.npos ? "" : input.substr(split + 1)};
    const std::string compacted = CompactInf(scripts[0]);
    const auto brackets = static_cast<std::size_t>(std::count(input.begin(), input.end(), '['));
    Check(compacted.size() <= scripts[0].size() + brackets + kInfEndBytes.size());
    Check(compacted.ends_with(kInfEndBytes) && compacted == CompactAsStated(scripts[0]));
    fs::remove_all(folders.machine);
    fs::copy(folders.machineTemplate, folders.machine, fs::copy_options::recursive);
    Write(folders.skipped[1], scripts[0]);
    Write(folders.skipped[2], scripts[1]);
    {
        host::EventLog events;
        auto machine = host::HostMachine::Open({folders.machine, folders.disk}, events, nullptr);
        Check(machine != nullptr);
        host::IconvCodePage codePage;
        ui::UnattendedFrontend frontend(nullptr, codePage);
        host::HostWindowSystem windows(frontend, codePage);
        windows.SetEventSink(&events);
        windows.SetDirectoryLister(
            host::MachineDirectoryLister(machine->Resolver(), machine->Config(), codePage));
        windows.SetStopHandler([](const std::string&) { throw RunStopped{}; });
        Installer installer(machine->GetPlatform(), windows);
        try {
            static_cast<void>(Entry(installer, "", SW_SHOWNORMAL));
        } catch (const RunStopped&) {
        }
    }
    Check(List(folders.root, folders.skipped) == folders.outside);
    Check(Read(folders.skipped[1]) == scripts[0]);
    Check(Read(folders.skipped[2]) == scripts[1]);
}
