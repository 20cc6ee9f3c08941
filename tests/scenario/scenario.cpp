#include "scenario.h"

#include "support/folder_files.h"

#include <fstream>

namespace tl::test {

namespace fs = std::filesystem;

// The scripts are data files in tests/scenario/disk; the images and fonts are made here.
void WriteStandardDisk(const TempFolder& disk, const std::string& folder) {
    const fs::path from = TL_SOURCE_DIR "/tests/scenario/disk";
    const fs::path at(folder);
    const std::string pm = ImageBytes(ImageKind::Pe, {1, 2, 0, 0});
    for (const auto& [name, bytes] : std::map<fs::path, std::string>{
             {"INSTALL.INF", ReadBytes(from / "INSTALL.INF")},
             {"DISK1.TAG", "Telmora Driver Disk 1\r\n"},
             {"DISK2.TAG", "Telmora Font Disk 2\r\n"},
             {at / "OEMSETUP.INF", ReadBytes(from / "WIN95/OEMSETUP.INF")},
             {at / "TL600.DR_", Compressed(ImageBytes(ImageKind::Ne, kDiskDriverVersion), 'V')},
             {at / "TL300.DRV", ImageBytes(ImageKind::Ne, kDiskDriverVersion)},
             {at / "TLPM.386", ImageBytes(ImageKind::Le, {4, 10, 0, 1})},
             {at / "TLDEMO.PRN", "%!PS demonstration page\r\n"},
             {at / "TLMON.DL_", Compressed(pm, 'L')},
             {at / "TLPROC.DLL", pm},
             {at / "TLHELP.HL_", Compressed("help text of the Telmora drivers\r\n", 'P')},
             {at / "LPT.B_", Compressed(ImageBytes(ImageKind::Le, {4, 0, 0, 1111}), 'Z')},
             // Real TrueType fonts (Windows registers no other), those of the sample disk.
             {at / "TLMJ.TT_", ReadBytes(TL_SOURCE_DIR "/examples/disk/WIN95/TLMJ.TT_")},
             {at / "TLGT.TT_", ReadBytes(TL_SOURCE_DIR "/examples/disk/WIN95/TLGT.TT_")}})
        disk.WriteFile(name, bytes);
}

std::map<std::string, std::string> Listing(const fs::path& root) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string relative = it->path().lexically_relative(root).generic_string();
        files[relative] = it->is_symlink() ? "link to " + fs::read_symlink(it->path()).string()
                          : it->is_regular_file() ? ReadBytes(it->path())
                                                  : "<dir>";
    }
    return files;
}

std::map<std::string, std::string> MachineFiles(const fs::path& root) {
    std::map<std::string, std::string> files = FolderFiles(root);
    for (const char* harness : {"transcript.jsonl", "answers.ini", "counts.txt", "calls.txt",
                                "machine.ini", "tlins32a.lock", "removal.jsonl", "removal.ini"})
        files.erase(harness);
    return files;
}

bool MayChange(const std::string& relative, bool windowsDirectories) {
    std::string parent = fs::path(relative).parent_path().generic_string();
    for (char& c : parent)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (parent.empty())
        return relative.starts_with("registry.reg") || relative == "tlins32a.lock" ||
               relative == "answers.ini" || relative == "transcript.jsonl";
    return windowsDirectories &&
           (parent == "DRIVE_C/WINDOWS" || parent == "DRIVE_C/WINDOWS/SYSTEM" ||
            parent == "DRIVE_C/WINDOWS/FONTS");
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    std::size_t at = text.find(from);
    if (at == std::string::npos) {
        ADD_FAILURE() << "not in the text: " << from;
        return text;
    }
    return text.replace(at, from.size(), to);
}

int RunOutcome::State() const {
    nlohmann::json end = transcript.End();
    return end.is_object() ? end.value("state", -1) : -1;
}

bool RunOutcome::Ended() const {
    nlohmann::json end = transcript.End();
    if (!end.is_object() || end.value("event", "") != "end" || end.contains("error"))
        return false;
    const int status = end.value("status", -1);
    return status >= 0 && end.value("exitCode", -1) == 0 && program.exitCode == status % 256;
}

Scenario::Scenario() : bin(ProgramDir(TL_BINARY_DIR "/bin")) {}

ScenarioMachine& Scenario::MakeMachine(const std::vector<std::string>& initOptions) {
    machine_ = std::make_unique<ScenarioMachine>(bin, initOptions);
    return *machine_;
}

ScenarioMachine& Scenario::Machine() {
    if (!machine_)
        MakeMachine();
    return *machine_;
}

RunOutcome Scenario::Run(const std::string& commandLine, const std::string& program) {
    ScenarioMachine& machine = Machine();
    std::filesystem::path answersFile = machine.Root() / "answers.ini";
    std::filesystem::path transcriptFile = machine.Root() / "transcript.jsonl";
    std::ofstream(answersFile, std::ios::binary | std::ios::trunc) << answers;
    std::vector<std::string> args{
        "--machine", machine.Root().string(), "--disk",       disk.Root().string(),
        "--answers", answersFile.string(),    "--transcript", transcriptFile.string()};
    if (!commandLine.empty()) {
        args.push_back("--");
        args.push_back(commandLine);
    }
    RunOutcome outcome;
    outcome.program = RunProgram(bin / program, args, std::chrono::seconds(20));
    EXPECT_FALSE(outcome.program.timedOut) << program << " did not end within 20 s";
    outcome.transcript = TranscriptLines::Read(transcriptFile);
    return outcome;
}

void Scenario::AddMachineLines(const std::string& lines) {
    plainMachineIni_ = FolderFiles(Machine().Root()).at("machine.ini");
    std::ofstream(Machine().Root() / "machine.ini", std::ios::binary | std::ios::app)
        << "\n"
        << lines << "\n";
}

void Scenario::DropMachineLines() {
    std::ofstream(Machine().Root() / "machine.ini", std::ios::binary | std::ios::trunc)
        << plainMachineIni_;
}

std::string Scenario::Setting(std::string_view key) {
    return Machine().Ini("C:\\WINDOWS\\tlsetup.ini").Get("Install", key).value_or("");
}

} // namespace tl::test
