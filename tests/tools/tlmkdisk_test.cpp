// tlmkdisk refuses a faulty description as a whole: it names the file and the fault, exits 2
// and writes nothing, not even the files described before the fault.
#include "support/program_run.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(Tlmkdisk, AFaultyDescriptionWritesNothingAndNamesTheFault) {
    const fs::path tool = tl::test::ProgramDir(TL_BINARY_DIR "/bin") / "tlmkdisk";
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
        const tl::test::ProgramRun run =
            tl::test::RunProgram(tool, {description.string(), disk.string()});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(disk));
    }
}

} // namespace
