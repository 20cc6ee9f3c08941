// Writers of small executable images that carry a given version resource: a 16-bit driver (NE),
// a virtual device driver (LE) and a 32-bit image (PE). They hold no code; they are what the
// version records of a simulated PC and the tests read.
#pragma once

#include "platform/host/version_block_writer.h"

#include <optional>
#include <vector>

namespace tl::host {

// NE: resource table with type 0x8010, id 1: the 16-bit VS_VERSION_INFO. No record: no resources.
std::vector<BYTE> WriteNeImage(const std::optional<VersionRecord>& record);

// LE: e32_winresoff/e32_winreslen point to the 12-byte resource header (type 16, ordinal 1)
// followed by the 16-bit VS_VERSION_INFO. No record: both are 0.
std::vector<BYTE> WriteLeImage(const std::optional<VersionRecord>& record);

// PE (32-bit, one .rsrc section): RT_VERSION, id 1, language 0x0409: the 32-bit VS_VERSION_INFO.
// No record: no resource directory.
std::vector<BYTE> WritePeImage(const std::optional<VersionRecord>& record);

} // namespace tl::host
