// The language table of a catalogue with several language editions: one entry per
// "Manufacturer" line whose name names a language the installer knows, in line order.
#pragma once

#include "state/inf_scripts.h"

#include <optional>
#include <string_view>

namespace tl {

struct Installer;

// The language k (0..8) that a "Manufacturer" name stands for: the text after its first "(" or
// "[" (or the whole name without either) agrees in its first four characters, case ignored,
// with the name of language k without its "&"; the first such k. None when no language agrees.
std::optional<int> ManufacturerLanguage(std::string_view name);

// Fills the installer's language table from the section that starts at `manufacturer`: an entry
// (language, line number) for each recognised line, at most nine. A line without a recognised
// language (or without a name) adds nothing and is reported in a box of its own, without owner.
void BuildLanguageTable(Installer& installer, std::optional<InfLine> manufacturer);

} // namespace tl
