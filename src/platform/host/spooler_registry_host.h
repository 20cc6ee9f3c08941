// The spooler's records in the machine's registry (registry.reg): the host spooler's view of
// HKEY_LOCAL_MACHINE, each commit written to the file at once. The registry may be shared with
// the registry port: both keep the file as the record of what was kept.
#pragma once

#include "platform/host/registry_host.h"
#include "platform/host/spooler_registry.h"

namespace tl::host {

class HostRegistrySpoolerStore final : public SpoolerRegistry {
public:
    explicit HostRegistrySpoolerStore(HostRegistry& registry);

    bool KeyExists(std::string_view path) const override;
    std::vector<std::string> SubKeys(std::string_view path) const override;
    std::optional<SpoolerValue> GetValue(std::string_view path,
                                         std::string_view name) const override;
    bool CreateKey(std::string_view path) override;
    bool SetValue(std::string_view path, std::string_view name, SpoolerValue value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;
    bool Commit() override;
    void Discard() override;

private:
    const RegistryKey* Find(std::string_view path) const;

    HostRegistry& registry_;
};

} // namespace tl::host
