// The registry port over a machine folder's registry.reg: the whole registry is read once, kept
// in memory and written back (atomically) after every change. Open keys are held as paths, so a
// key removed while it is open makes later calls on it fail with 2 instead of touching freed
// memory.
#pragma once

#include "platform/host/fault_plan.h"

#include "platform/host/registry_tree.h"
#include "platform/registry.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tl::host {

class HostRegistry final : public Registry {
public:
    // A registry kept in that file. Nothing is read until Load.
    explicit HostRegistry(std::filesystem::path file);

    // Reads the file; a missing file is an empty registry. False with a message naming the file
    // and line when it cannot be read; the registry is then empty and Save refuses to overwrite
    // the file, so that nothing in it is lost.
    bool Load(std::string& error);

    // The registry as a tree, for the host's own tools (the spooler model, "tlmachine show").
    // Changes made through Tree() are written by Save.
    RegistryTree& Tree() { return tree_; }
    const RegistryTree& Tree() const { return tree_; }
    // Writes the tree to the file; 0 or a Win32 error code.
    DWORD Save();
    // A test's fault plan (see fault_plan.h): a save is a write.
    void SetFaultPlan(FaultPlan* faults) { faults_ = faults; }
    // Drops every change since the file was last read or written.
    void Revert();

    LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access,
                      HKEY* result) override;
    LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result,
                        DWORD* disposition) override;
    LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                         DWORD* dataSize) override;
    LONG RegSetValueEx(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                       DWORD dataSize) override;
    LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize) override;
    LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* type, BYTE* data,
                      DWORD* dataSize) override;
    LONG RegDeleteValue(HKEY key, const char* valueName) override;
    LONG RegDeleteKey(HKEY key, const char* subKey) override;
    LONG RegCloseKey(HKEY key) override;

private:
    // The full path of an open key or a root; none for a key that is not open.
    std::optional<std::string> PathOf(HKEY key) const;
    // The key behind a handle; null when it is not open or no longer exists (*error says).
    RegistryKey* Resolve(HKEY key, LONG* error);
    HKEY NewHandle(std::string path);
    // Writes the change just made; on failure the registry returns to the file's last state.
    LONG Commit();

    std::filesystem::path file_;
    RegistryTree tree_;
    std::string saved_; // the text last read or written: what a failed save returns to
    FaultPlan* faults_ = nullptr;
    bool loadFailed_ = false;
    std::map<std::uint32_t, std::string> open_;
    std::uint32_t nextHandle_ = 0x100;
};

} // namespace tl::host
