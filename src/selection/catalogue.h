// The driver catalogue: the models of the chosen language edition, and the chosen model's driver
// section turned into the printer name, the driver data block and the copy list.
#pragma once

#include "platform/win_types.h"
#include "platform/window_types.h"
#include "state/catalogue_state.h"
#include "state/inf_scripts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

struct Installer;

// The printer name names a spooler driver: 39 characters at most.
inline constexpr std::size_t kPrinterNameMax = 39;
inline constexpr std::size_t kDriverDataSize = 1536;
inline constexpr char kDriverDataEnd = 0x1A;

// What a setup script lacks, for the record: the lookup that failed, what it looked for
// ("[section]" or "[section] key") and the code the system's INF functions give for it.
struct InfLack {
    std::string_view lookup; // FindInfSection, GetInfKey, GetInfField
    std::string what;
    DWORD code = 0;
};
inline constexpr DWORD kErrorSectionNotFound = 0xE0000101;
inline constexpr DWORD kErrorLineNotFound = 0xE0000102;
InfLack MissingSection(std::string_view section);
InfLack MissingLine(std::string_view lookup, std::string_view section, std::string_view key);

// The not-found message: text 131 and "\n strings = " with the name (which the message shows
// as the system did, empty for most lacks); the lack itself goes to the record as an error.
void ReportInfNotFound(Installer& installer, WindowHandle owner, std::string_view name,
                       const InfLack& lack);

// Reads the model list of line `manufacturerLine` (0-based) of the section that starts at
// `manufacturerSection` into the model table. The number of models (at most five: a longer list
// is reported and its first five are offered); 0 after reporting a missing list.
int LoadModelList(Installer& installer, WindowHandle owner,
                  std::optional<InfLine> manufacturerSection, int manufacturerLine);

// Reads model `modelIndex`: the printer name (also saved as "DriverName"), the driver data block
// and the copy sections. True, or false after a report.
[[nodiscard]] bool ReadModelSection(Installer& installer, WindowHandle owner,
                                    std::optional<InfLine> manufacturerSection,
                                    int manufacturerLine, int modelIndex);

// The names of a CopyFiles value: split at every ",", blanks around each dropped.
std::vector<std::string> SplitAtCommas(std::string_view value);

// The record values of the driver data block in record order, for readers of the block.
// None when the block is not held or malformed.
std::optional<std::array<std::string, 6>> DriverDataValues(const CatalogueState& catalogue);

} // namespace tl
