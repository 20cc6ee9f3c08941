#include "scenario.h"

#include <fstream>

namespace tl::test {

const char* const kInstallInf = R"INF([PRIVATE.INI]
tlsetup.ini

[OEM.INF]
OEMSETUP.INF

[PRINTERDRIVER]
Path = WIN95

[NEEDED.DiskSpace]
300

[CheckECP]
1

[REBOOTSYSTEM]
1

[VxD]
0:TLPM.386
message = TRUE

[DEMOFILE]
file = 1:TLDEMO.PRN

[DISK1]
1 = "Telmora Driver Disk 1", DISK1.TAG

[DISK2]
2 = "Telmora Font Disk 2", DISK2.TAG

[TRUETYPEFONTS]
FontList = Telmora_Myeongjo,Telmora_Gothic

[NEEDED.SPACE]
Telmora_Myeongjo = 20,0
Telmora_Gothic = 30,0

[Telmora_Myeongjo.TrueType]
1:TLMJ.TTF, 0:"Telmora Myeongjo"

[Telmora_Gothic.TrueType]
2:TLGT.TTF, 0:"Telmora Gothic"

[DeleteIni]
5:"Bi-Di Status Monitor"
20:SYSTEM.INI, 386Enh, device, 0:BIDI.386, "Removed by Telmora Printer Driver Setup:"
6:"Telmora Status Window"
21:WIN.INI, windows, load, 0:TLSTAT.EXE, "Removed by Telmora Printer Driver Setup:"
)INF";

const char* const kCatalogue = R"INF([Manufacturer]
"Telmora (English)" = Telmora.ENU

[Telmora.ENU]
"Telmora 600" = TL600
"Telmora 300" = TL300

[TL600]
CopyFiles = TL600.FILES, TL.COMMON
DriverFile = TL600.DRV
DefaultDataType = RAW
HelpFile = TLHELP.HLP
LanguageMonitor = TLMonitor,TLMON.DLL
PrintProcessor = TLPROC,TLPROC.DLL

[TL300]
CopyFiles = TL300.FILES, TL.COMMON
DriverFile = TL300.DRV
HelpFile = TLHELP.HLP

[TL600.FILES]
TL600.DRV
TLPM.386
TLDEMO.prn

[TL300.FILES]
TL300.DRV
TLPM.386
TLDEMO.prn

[TL.COMMON]
TLMON.DLL
TLPROC.DLL
TLHELP.HLP,TLHELP.HL_
LPT.BZ

[SourceDisksFiles]
TL600.DRV = 1
TL300.DRV = 1
TLPM.386 = 1
TLDEMO.PRN = 1
TLMON.DLL = 1
TLPROC.DLL = 1
TLHELP.HLP = 1
LPT.BZ = 1
)INF";

void WriteStandardDisk(const InstallDisk& disk, const std::string& folder) {
    disk.Write("INSTALL.INF", kInstallInf);
    disk.Write("DISK1.TAG", "Telmora Driver Disk 1\r\n");
    disk.Write("DISK2.TAG", "Telmora Font Disk 2\r\n");
    WriteDriverFiles(disk, folder);
}

void WriteDriverFiles(const InstallDisk& disk, const std::string& folder) {
    const std::filesystem::path at(folder);
    disk.Write(at / "OEMSETUP.INF", kCatalogue);
    disk.WriteCompressed(at / "TL600.DR_",
                         InstallDisk::ImageBytes(ImageKind::Ne, kDiskDriverVersion), 'V');
    disk.WriteImage(at / "TL300.DRV", ImageKind::Ne, kDiskDriverVersion);
    disk.WriteImage(at / "TLPM.386", ImageKind::Le, {4, 10, 0, 1});
    disk.Write(at / "TLDEMO.PRN", "%!PS demonstration page\r\n");
    disk.WriteCompressed(at / "TLMON.DL_", InstallDisk::ImageBytes(ImageKind::Pe, {1, 2, 0, 0}),
                         'L');
    disk.WriteImage(at / "TLPROC.DLL", ImageKind::Pe, {1, 2, 0, 0});
    disk.WriteCompressed(at / "TLHELP.HL_", "help text of the Telmora drivers\r\n", 'P');
    disk.WriteCompressed(at / "LPT.B_",
                         InstallDisk::ImageBytes(ImageKind::Le, kNewPortDriverVersion), 'Z');
    disk.WriteCompressed(at / "TLMJ.TT_", std::string(3000, 'M'), 'F');
    disk.Write(at / "TLGT.TTF", std::string(2000, 'G'));
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

RunOutcome Scenario::Run(const std::string& commandLine) {
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
    outcome.program = RunProgram(bin / "tlins32a", args, std::chrono::seconds(20));
    EXPECT_FALSE(outcome.program.timedOut) << "tlins32a did not end within 20 s";
    outcome.transcript = TranscriptLines::Read(transcriptFile);
    return outcome;
}

std::string Scenario::Setting(std::string_view key) {
    return Machine().Ini("C:\\WINDOWS\\tlsetup.ini").Get("Install", key).value_or("");
}

} // namespace tl::test
