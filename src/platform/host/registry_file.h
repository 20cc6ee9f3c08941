// The registry file of a machine folder: REGEDIT4 text, byte for byte as the registry editor
// exports it ("REGEDIT4", a blank line, then every key as "[HKEY_...\path]" followed by its values
// and a blank line; CR LF line ends; ANSI bytes of code page 949).
//
// Values are written as regedit writes them: "name"="text" (with \\ and \" escapes) for a
// REG_SZ that ends with its NUL, dword:%08x for a four-byte REG_DWORD, hex: for REG_BINARY and
// hex(type): for anything else (a REG_SZ without its NUL or with a line break in it included),
// 25 bytes to a continuation line. @ names the default value.
#pragma once

#include "platform/host/registry_tree.h"

#include <string>
#include <string_view>

namespace tl::host {

// Reads REGEDIT4 text into the tree (keys named in the text are created, values set; "[-key]"
// and "name"=- delete, as regedit imports them). Comments (";") and blank lines are skipped.
// Returns false with a message naming the line on anything it cannot read; the tree may then
// hold part of the text, so callers parse into a fresh tree.
bool ParseRegistryText(std::string_view text, RegistryTree& tree, std::string& error);

// The whole tree as REGEDIT4 text. Roots without keys or values are left out.
std::string FormatRegistryText(const RegistryTree& tree);

// One value line without its line end, e.g. "Name"=dword:00000001.
std::string FormatRegistryValue(const RegistryValue& value);

} // namespace tl::host
