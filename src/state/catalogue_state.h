// What the driver catalogue keeps (selection/catalogue.h): the models offered and the chosen
// model's driver data block.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace tl {

inline constexpr std::size_t kMaxModels = 5;

struct ModelEntry {
    std::string name;
    bool selected = false; // the model is to be installed
};

struct CatalogueState {
    // The models in catalogue order; an empty name ends the table.
    std::array<ModelEntry, kMaxModels> models{};
    int modelCount = 0;
    // The driver data block: records "n\0value\0\r" for n = 0..5, then 0x1A, zero-filled to
    // 1,536 bytes. None until a model section was read; the spooler registration releases it.
    std::optional<std::string> driverData;
};

} // namespace tl
