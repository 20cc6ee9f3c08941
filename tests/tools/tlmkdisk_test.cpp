// tlmkdisk: the sample install disk (examples/disk) is what its description makes, byte for byte;
// a faulty description is refused as a whole: it names the file and the fault, exits 2 and writes
// nothing, not even the files described before the fault.
#include "tool_run.h"

#include <gtest/gtest.h>

namespace tl::test {
namespace {

namespace fs = std::filesystem;

// tlmkdisk --check on a disk folder, as scripts/make-sample-disk.sh runs it.
ProgramRun CheckDisk(const fs::path& disk) {
    return RunTool("tlmkdisk",
                   {"--check", TL_SOURCE_DIR "/examples/disk-source/disk.ini", disk.string()});
}

TEST(SampleDisk, IsWhatItsDescriptionMakesByteForByte) {
    const ProgramRun run = CheckDisk(kSampleDisk);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err
                               << "run scripts/make-sample-disk.sh and commit examples/disk";
    // The check notices a changed, a missing and a stray file.
    TempMachine scratch;
    const auto disk = CopySampleDisk(scratch);
    scratch.WriteFile("disk/WIN95/TLPM.386", scratch.ReadFile("disk/WIN95/TLPM.386") + "x");
    fs::remove(disk / "DISK3.TAG");
    scratch.WriteFile("disk/WIN95/OLD.DRV", "left over");
    const ProgramRun changed = CheckDisk(disk);
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_EQ(changed.out,
              "missing: DISK3.TAG\ndiffers: WIN95/TLPM.386\nnot described: WIN95/OLD.DRV\n");
}

TEST(Tlmkdisk, AFaultyDescriptionWritesNothingAndNamesTheFault) {
    const struct {
        const char* description; // after a good [GOOD.TXT]
        const char* message;
    } cases[] = {
        {"[B.TXT]\ntext=x\nbogus=1\n", "B.TXT: unknown key bogus"},
        {"[B.TXT]\ntext=a\\q\n", "B.TXT: bad escape in text"},
        {"[B.DRV]\nimage=ne\nversion=3.28\ntype=drv\n", "B.DRV: version must be A.B.C.D"},
        {"[../B.TXT]\ntext=x\n", "../B.TXT: a path inside the disk"},
        {"[B.TXT]\ntext=x\nfrom=y\n", "B.TXT: needs exactly one of image, font, text, from"},
        {"[B.TT_]\nfont=F\ncompress=yes\n", "B.TT_: cannot be stored compressed"},
        {"[B.TXT]\ntext=x\n[tlmkdisk]\nkeep=B.TXT\n", "B.TXT is made and kept"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        TempMachine scratch;
        scratch.WriteFile("disk.ini", std::string("[GOOD.TXT]\ntext=ok\n") + c.description);
        const auto disk = scratch.Root() / "out";
        const ProgramRun run =
            RunTool("tlmkdisk", {(scratch.Root() / "disk.ini").string(), disk.string()});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(disk));
    }
}

} // namespace
} // namespace tl::test
