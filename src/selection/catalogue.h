// The driver catalogue: the models of the chosen language edition, and the chosen model's driver
// section turned into the printer name, the driver data block and the copy list.
#pragma once

#include "platform/window_types.h"
#include "state/catalogue_state.h"
#include "state/inf_scripts.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

struct Installer;

// The printer name names a spooler driver: 39 characters at most.
inline constexpr std::size_t kPrinterNameMax = 39;
inline constexpr std::size_t kDriverDataSize = 1536;
inline constexpr char kDriverDataEnd = 0x1A;

// The not-found message: text 131 and "\n strings = " with the name.
void ReportInfNotFound(Installer& installer, WindowHandle owner, std::string_view name);

// Reads the model list of line `manufacturerLine` (0-based) of the section that starts at
// `manufacturerSection` into the model table. The number of models (at most five: a longer list
// is reported and its first five are offered); 0 after reporting a missing list.
int LoadModelList(Installer& installer, WindowHandle owner,
                  std::optional<InfLine> manufacturerSection, int manufacturerLine);

// Reads model `modelIndex`: the printer name (also saved as "DriverName"), the driver data block
// and the copy sections. 1, or 0 after a report.
int ReadModelSection(Installer& installer, WindowHandle owner,
                     std::optional<InfLine> manufacturerSection, int manufacturerLine,
                     int modelIndex);

// The record values of the driver data block in record order, for readers of the block.
// None when the block is not held or malformed.
std::optional<std::array<std::string, 6>> DriverDataValues(const CatalogueState& catalogue);

} // namespace tl
