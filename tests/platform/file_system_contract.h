// The behaviour every file-port adapter owes the installer, written against FileSystem alone so
// that the same tests run on the machine-folder adapter and on the Win32 one.
#pragma once

#include "platform/file_system.h"
#include "platform/storage.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace tl::test {

// A fresh, empty scratch directory reachable through a file port.
class FileSystemEnvironment {
public:
    virtual ~FileSystemEnvironment() = default;
    virtual FileSystem& Files() = 0;
    // The storage port of the same adapter (its handles and last error are the files').
    virtual Storage& Store() = 0;
    // Windows path of the empty scratch directory, without a trailing "\".
    virtual std::string Scratch() const = 0;
};

struct FileSystemAdapter {
    std::string name;
    std::function<std::unique_ptr<FileSystemEnvironment>()> make;
};

inline void PrintTo(const FileSystemAdapter& adapter, std::ostream* out) {
    *out << adapter.name;
}

class FileSystemContract : public ::testing::TestWithParam<FileSystemAdapter> {
protected:
    void SetUp() override {
        environment_ = GetParam().make();
        ASSERT_TRUE(environment_);
    }
    FileSystem& Files() { return environment_->Files(); }
    Storage& Store() { return environment_->Store(); }
    std::string Path(const std::string& name) const {
        return environment_->Scratch() + "\\" + name;
    }

    std::unique_ptr<FileSystemEnvironment> environment_;

    // Writes a whole file through the port.
    void Write(const std::string& name, const std::string& bytes);
    // Reads a whole file through the port; none when it does not open.
    std::optional<std::string> Read(const std::string& name);
};

} // namespace tl::test
