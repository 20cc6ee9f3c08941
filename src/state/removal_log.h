// The installer's records for the removal program: section [Removal] of the private settings
// file, one record a key ("Change0001", "Change0002", ... in the order the changes were made),
// each written at the moment its change is made, so that an installation that stopped half-way
// can be removed too. A later run appends; nothing here touches [Install]. docs/removal.md lists
// the records.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

struct Installer;

inline constexpr const char* kRemovalSection = "Removal";

// What the records of one run need between writes: whether the settings file was there when the
// run started (else the first record says the installation made it), and the next key's number
// (0: not looked up yet).
struct RemovalLogState {
    bool settingsExisted = true;
    int nextKey = 0;
};

// The kinds of record: the first field of each.
namespace removal_record {
inline constexpr std::string_view kSettings = "Settings";   // the settings file was made
inline constexpr std::string_view kDirectory = "Directory"; // path
inline constexpr std::string_view kFile = "File";           // kind, existed, path, copy
inline constexpr std::string_view kBackup = "Backup";       // path
inline constexpr std::string_view kDeviceLine =
    "DeviceLine"; // ini, section, line, commented, section added
inline constexpr std::string_view kCommented = "Commented";   // ini, section, now, was, kept
inline constexpr std::string_view kPortDriver = "PortDriver"; // lpt.vxd path, saved path
inline constexpr std::string_view kFont = "Font";             // value name, font file
inline constexpr std::string_view kPrintProcessor = "PrintProcessor"; // name, added
inline constexpr std::string_view kMonitor = "Monitor";               // name, added
inline constexpr std::string_view kDriver = "Driver";                 // name, added
inline constexpr std::string_view kDefaultPrinter = "DefaultPrinter"; // had, device= value
inline constexpr std::string_view kPrinter = "Printer";               // name, copy number
} // namespace removal_record

// The fields joined as "Kind|a|b|": "%" and "|" inside a field are written "%25" and "%7C",
// and the closing "|" keeps blanks and quotes at the end of the last field from being read away.
std::string EncodeRemovalRecord(std::initializer_list<std::string_view> fields);
// The fields of a record value; empty when the value is no record (no closing "|", a bad escape).
std::vector<std::string> DecodeRemovalRecord(std::string_view value);

// The key of record number `number` (1-based).
std::string RemovalKey(int number);

// Notes at start whether the settings file exists.
void NoteSettingsFile(Installer& installer);

// Before the installer first writes to the settings file: records that the installation makes
// it, when it was not there at start. False when that could not be recorded.
bool NoteSettingsWrite(Installer& installer);

// Writes the next record. False when it could not be written (the error is in the transcript):
// a change that could not be recorded should not be made.
[[nodiscard]] bool WriteRemovalRecord(Installer& installer,
                                      std::initializer_list<std::string_view> fields);

} // namespace tl
