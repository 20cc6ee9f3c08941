#include "port_contract.h"

#include <cstdlib>
#include <iostream>

namespace tl::test {

bool PortContract::WineDiffers(std::string_view entry) {
    // TL_WINE_STRICT=1 runs every assertion, to see whether Wine still differs.
    const char* strict = std::getenv("TL_WINE_STRICT");
    if (!environment_->UnderWine() || (strict != nullptr && *strict == '1')) {
        return false;
    }
    std::cout << "[ WINE     ] assertion left out: docs/wine-differences.md, \"" << entry << "\"\n";
    return true;
}

void PortContract::WriteFile(std::string_view name, std::string_view bytes) {
    FileHandle file = Files().CreateFile(Path(name), kGenericWrite, kFileShareNone, kCreateAlways);
    ASSERT_TRUE(file) << name << " error " << Files().GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(Files().WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written));
    EXPECT_EQ(written, bytes.size());
    EXPECT_TRUE(Files().CloseHandle(file));
}

std::optional<std::string> PortContract::ReadFile(std::string_view name) {
    FileHandle file = Files().CreateFile(Path(name), kGenericRead, kFileShareRead, kOpenExisting);
    if (!file) {
        return std::nullopt;
    }
    std::string bytes(Files().GetFileSize(file), '\0');
    DWORD read = 0;
    EXPECT_TRUE(Files().ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read));
    bytes.resize(read);
    Files().CloseHandle(file);
    return bytes;
}

} // namespace tl::test
