// tlmkdisk refuses a faulty description as a whole: it names the file and the fault, exits 2
// and writes nothing, not even the files described before the fault.
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

TEST(Tlmkdisk, AFaultyDescriptionWritesNothingAndNamesTheFault) {
    const char* bin = std::getenv("TL_BIN");
    const fs::path tool = fs::path(bin != nullptr ? bin : TL_BINARY_DIR "/bin") / "tlmkdisk";
    const struct {
        const char* description;
        const char* message;
    } cases[] = {
        {"[GOOD.TXT]\ntext=ok\n[B.TXT]\ntext=x\nbogus=1\n", "B.TXT: unknown key bogus"},
        {"[GOOD.TXT]\ntext=ok\n[B.TXT]\ntext=a\\q\n", "B.TXT: bad escape in text"},
        {"[GOOD.TXT]\ntext=ok\n[B.DRV]\nimage=ne\nversion=3.28\ntype=drv\n",
         "B.DRV: version must be A.B.C.D"},
        {"[GOOD.TXT]\ntext=ok\n[../B.TXT]\ntext=x\n", "../B.TXT: a path inside the disk"},
        {"[GOOD.TXT]\ntext=ok\n[B.TXT]\ntext=x\nfrom=y\n",
         "B.TXT: needs exactly one of image, font, text, from"},
        {"[GOOD.TXT]\ntext=ok\n[B.TT_]\nfont=F\ncompress=yes\n",
         "B.TT_: cannot be stored compressed"},
        {"[GOOD.TXT]\ntext=ok\n[B.TXT]\ntext=x\n[tlmkdisk]\nkeep=B.TXT\n",
         "B.TXT is made and kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        tl::test::TempMachine scratch;
        const fs::path description = scratch.Root() / "disk.ini";
        std::ofstream(description) << c.description;
        const fs::path disk = scratch.Root() / "out";
        const fs::path report = scratch.Root() / "report.txt";
        const std::string command = "'" + tool.string() + "' '" + description.string() + "' '" +
                                    disk.string() + "' > '" + report.string() + "' 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
        std::ifstream in(report);
        const std::string output{std::istreambuf_iterator<char>(in), {}};
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(fs::exists(disk));
    }
}

} // namespace
