#include "startup/inf_tool.h"

#include "platform/host/direct_file_system.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace tl {
namespace {

using namespace std::string_literals;

class InfTool : public ::testing::Test {
protected:
    void SetUp() override {
        script = Write("INSTALL.INF", "; sample\r\n"
                                      "[PRIVATE.INI]\r\n"
                                      "tlsetup.ini\r\n"
                                      "[Fonts]\r\n"
                                      "Gulim = 1:GULIM.TT_, \"Gulim, Regular\"\r\n"
                                      "Path=C:\\FONTS\r\n"
                                      "[Korean]\r\n"
                                      "\xc7\xd1=\"\xb1\xdb\"\r\n");
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        temp.WriteFile(name, bytes);
        return (dir / name).string();
    }

    int Run(std::vector<std::string> args) {
        std::ostringstream outStream;
        std::ostringstream errStream;
        host::DirectFileSystem files;
        const int code = RunInfTool(args, files, outStream, errStream);
        out = outStream.str();
        err = errStream.str();
        return code;
    }

    test::TempMachine temp;
    const std::filesystem::path dir = temp.Root();
    std::string script;
    std::string out;
    std::string err;
};

TEST_F(InfTool, CompactShowsTheWholeBufferEscaped) {
    EXPECT_EQ(Run({"compact", script}), 0);
    EXPECT_EQ(out, "\\0\\0[PRIVATE.INI]\\0tlsetup.ini\\0\\0[Fonts]\\0"
                   "Gulim=1:GULIM.TT_,\"Gulim, Regular\"\\0Path=C:\\\\FONTS\\0\\0[Korean]\\0"
                   "\\xc7\\xd1=\"\\xb1\\xdb\"\\0\\0\\x1a\n");
}

TEST_F(InfTool, SectionKeyDottedFieldAndCount) {
    EXPECT_EQ(Run({"section", script, "fonts"}), 0);
    EXPECT_EQ(out, "Gulim=1:GULIM.TT_,\"Gulim, Regular\"\nPath=C:\\\\FONTS\n");
    EXPECT_EQ(Run({"key", script, "Fonts", "PATH"}), 0);
    EXPECT_EQ(out, "C:\\\\FONTS\n");
    EXPECT_EQ(Run({"dotted", script, "Korean.\xc7\xd1"}), 0);
    EXPECT_EQ(out, "\\xb1\\xdb\n");
    EXPECT_EQ(Run({"field", script, "Fonts", "0", "2"}), 0);
    EXPECT_EQ(out, "Gulim, Regular\n");
    EXPECT_EQ(Run({"field", script, "Fonts", "1", "0"}), 0);
    EXPECT_EQ(out, "Path\n");
    EXPECT_EQ(Run({"count", script, "Fonts"}), 0);
    EXPECT_EQ(out, "2\n");
    EXPECT_EQ(Run({"count", script, "Nothing"}), 0);
    EXPECT_EQ(out, "0\n");
}

TEST_F(InfTool, MissingThingsExitWithOne) {
    EXPECT_EQ(Run({"section", script, "Nothing"}), 1);
    EXPECT_EQ(Run({"key", script, "Fonts", "Nothing"}), 1);
    EXPECT_EQ(Run({"dotted", script, "NoDot"}), 1);
    EXPECT_EQ(Run({"field", script, "Fonts", "2", "0"}), 1);
    EXPECT_EQ(Run({"field", script, "Fonts", "0", "3"}), 1);
    EXPECT_EQ(Run({"field", script, "PRIVATE.INI", "0", "0"}), 1);
    EXPECT_EQ(out, "");
}

TEST_F(InfTool, UnloadableEmptyAndBadUsage) {
    EXPECT_EQ(Run({"compact", (dir / "none.inf").string()}), 2);
    EXPECT_NE(err.find("file not found"), std::string::npos);
    EXPECT_EQ(Run({"compact", Write("empty.inf", "")}), 3);
    EXPECT_NE(err.find("empty"), std::string::npos);
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(err.find("usage:"), std::string::npos);
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(err.find("usage:"), std::string::npos);
    EXPECT_EQ(Run({"frobnicate", script}), 2);
    EXPECT_EQ(Run({"key", script, "Fonts"}), 2);
    EXPECT_EQ(Run({"field", script, "Fonts", "x", "1"}), 2);
    EXPECT_EQ(Run({"field", script, "Fonts", "0", "-1"}), 2);
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace tl
