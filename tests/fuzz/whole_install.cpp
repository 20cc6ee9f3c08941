// The whole installer on a fuzzed install disk: the input is INSTALL.INF and the catalogue
// WIN95\OEMSETUP.INF, split at the first NUL byte. The rest of the disk is the sample disk, the PC
// a fresh copy of a machine folder made once; every question takes its default answer. A run must
// end (a stop ends it as the program's exit would), must not crash, and must write nothing outside
// the machine folder: beside it lie a canary file and the disk, checked after every run.
// TL_FUZZ_LOOPS_FATAL=1 makes a run that asks more than kMaxQuestions questions abort, so that
// libFuzzer keeps its input; otherwise such runs are stopped and counted.
#include "fuzz.h"
#include "init_command.h"
#include "platform/host/host_machine.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/ui/host_window_system.h"
#include "platform/host/ui/machine_directories.h"
#include "sequencer/entry.h"
#include "state/installer.h"
#include "ui/unattended/unattended_frontend.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Far more questions than any install of the sample disk asks: a run past it goes in circles.
constexpr int kMaxQuestions = 400;

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "whole_install: %s\n", what);
        std::abort();
    }
}

struct RunStopped { // thrown by the stop handler: the program would exit there
    std::string reason;
};

// The default answers, with a bound on how many questions one run may ask.
class BoundedFrontend final : public tl::ui::Frontend {
public:
    explicit BoundedFrontend(tl::ui::Frontend& inner) : inner_(inner) {}
    tl::ui::MessageBoxAnswer AnswerMessageBox(const tl::ui::MessageBoxRequest& request) override {
        if (auto error = Count("message " + request.key))
            return {request.DefaultResult(), *error};
        return inner_.AnswerMessageBox(request);
    }
    std::optional<std::string> DriveDialog(tl::ui::DialogDriver& dialog, int attempt) override {
        if (auto error = Count("dialog " + dialog.Name()))
            return error;
        return inner_.DriveDialog(dialog, attempt);
    }
    bool Exceeded() const { return questions_ > kMaxQuestions; }

private:
    std::optional<std::string> Count(const std::string& question) {
        if (++questions_ <= kMaxQuestions)
            return std::nullopt;
        Check(std::getenv("TL_FUZZ_LOOPS_FATAL") == nullptr,
              ("the run asks without end; last: " + question).c_str());
        return "too many questions";
    }
    tl::ui::Frontend& inner_;
    int questions_ = 0;
};

struct NoEvents final : tl::EventSink {
    void Record(tl::PlatformEvent) override {}
};

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

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(out), "cannot write the disk's scripts");
}

// Replaces the first `from` in the file by `to`.
void Edit(const fs::path& file, std::string_view from, std::string_view to) {
    std::string text = Read(file);
    const std::size_t at = text.find(from);
    Check(at != std::string::npos, "the machine template has changed");
    Write(file, text.replace(at, from.size(), to));
}

// The folders of one fuzzing process, made once.
struct Folders {
    fs::path root = fs::temp_directory_path() / ("tl-fuzz-install-" + std::to_string(getpid()));
    fs::path machineTemplate = root / "template", machine = root / "machine", disk = root / "disk";
    fs::path installInf = disk / "INSTALL.INF", catalogue = disk / "WIN95" / "OEMSETUP.INF";
    Listing outside; // all but the machine folder and the disk's two scripts, as it must stay
    std::map<std::string, long> stops; // runs stopped, by the reason given
    long boundedRuns = 0;
    long runs = 0;

    Folders() {
        fs::remove_all(root);
        fs::create_directories(root);
        tl::host::MachineTemplateOptions options;
        options.ecpPorts = {1};
        std::string error;
        Check(tl::tools::InitMachineFolder(machineTemplate, options, {}, error), error.c_str());
        // What another vendor's software left behind, for [DeleteIni] to take out.
        const fs::path windows = machineTemplate / "drive_c" / "WINDOWS";
        Edit(windows / "SYSTEM.INI", "[386Enh]\r\n",
             "[386Enh]\r\ndevice=BIDI.386\r\ndevice=*vcomm,TLPM20.386\r\n");
        Edit(windows / "WIN.INI", "load=\r\n", "load=TLSTAT.EXE\r\n");
        fs::copy(TL_SAMPLE_DISK, disk, fs::copy_options::recursive);
        Write(root / "canary", "must stay as it is\n");
        Write(installInf, "");
        Write(catalogue, "");
        outside = List(root, Skipped());
    }
    std::vector<fs::path> Skipped() const { return {machine, installInf, catalogue}; }
    ~Folders() {
        std::fprintf(stderr, "whole_install: %ld runs, %ld stopped by the bound of %d questions\n",
                     runs, boundedRuns, kMaxQuestions);
        for (const auto& [reason, count] : stops)
            std::fprintf(stderr, "whole_install: %ld stopped: %s\n", count, reason.c_str());
        std::error_code error;
        fs::remove_all(root, error);
    }
};

} // namespace

TL_FUZZ_TARGET(bytes) {
    using namespace tl;
    static Folders folders;
    const std::string_view input = fuzz::Text(bytes);
    const std::size_t split = input.find('\0');
    const std::string_view installInf = input.substr(0, split);
    const std::string_view catalogue = split == input.npos ? "" : input.substr(split + 1);
    fs::remove_all(folders.machine);
    fs::copy(folders.machineTemplate, folders.machine, fs::copy_options::recursive);
    Write(folders.installInf, installInf);
    Write(folders.catalogue, catalogue);
    {
        NoEvents events;
        std::string error;
        auto machine = host::HostMachine::Open({folders.machine, folders.disk}, events, &error);
        Check(machine != nullptr, "the machine folder does not open");
        host::IconvCodePage codePage;
        ui::UnattendedFrontend defaults(nullptr, codePage);
        BoundedFrontend frontend(defaults);
        host::HostWindowSystem windows(frontend, codePage);
        windows.SetEventSink(&events);
        windows.SetDirectoryLister(
            host::MachineDirectoryLister(machine->Resolver(), machine->Config(), codePage));
        windows.SetStopHandler([](const std::string& reason) { throw RunStopped{reason}; });
        Installer installer(machine->GetPlatform(), windows);
        ++folders.runs;
        try {
            static_cast<void>(Entry(installer, "", SW_SHOWNORMAL));
        } catch (const RunStopped& stop) {
            ++folders.stops[stop.reason];
            folders.boundedRuns += frontend.Exceeded() ? 1 : 0;
        }
    }
    Check(List(folders.root, folders.Skipped()) == folders.outside,
          "a file outside the machine folder was written");
    Check(Read(folders.installInf) == installInf && Read(folders.catalogue) == catalogue,
          "the disk's scripts were changed");
}
