#include "platform/compressed_name.h"
#include "platform/host/lz_host.h"
#include "platform/host/szdd_compressor.h"
#include "platform/lz_fake_machine.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tl {
namespace {

using testing::TempMachine;

class LzOpenTest : public ::testing::Test {
protected:
    TempMachine machine;
    host::HostLzExpand lz{machine, machine};
    OfStruct of;
};

TEST_F(LzOpenTest, CompressedNamesFollowTheExtension) {
    EXPECT_EQ(CompressedName("A:\\UNIDRV.DLL"), "A:\\UNIDRV.DL_");
    EXPECT_EQ(CompressedName("A:\\LPT.BZ"), "A:\\LPT.BZ_");
    EXPECT_EQ(CompressedName("A:\\README"), "A:\\README._");
    EXPECT_EQ(CompressedName("A:\\DIR.X\\README"), "A:\\DIR.X\\README._");
    EXPECT_EQ(CompressedName("A:\\X.Y.ZZZ"), "A:\\X.Y.ZZ_");
}

TEST_F(LzOpenTest, ReadingFindsTheCompressedNameWhenThePlainOneIsMissing) {
    const std::vector<BYTE> original = testing::RepetitiveBytes(5000);
    machine.Write("UNIDRV.DL_", host::CompressSzdd(original, 'L'));
    const LzHandle in = lz.LZOpenFile("C:\\UNIDRV.DLL", of, kOfRead);
    ASSERT_GT(in, 0);
    EXPECT_EQ(of.szPathName, "C:\\UNIDRV.DL_");
    EXPECT_EQ(of.nErrCode, 0);
    EXPECT_EQ(of.cBytes, OfStruct::kSize);
    std::vector<BYTE> got(6000);
    EXPECT_EQ(lz.LZRead(in, got.data(), 6000), 5000);
    got.resize(5000);
    EXPECT_EQ(got, original);
    lz.LZClose(in);
    EXPECT_EQ(lz.LZOpenFile("C:\\UNIDRV.DLL", of, kOfExist), 1);
}

TEST_F(LzOpenTest, MissingFilesFailWithTheReasonAndPromptOnlyWhenAsked) {
    EXPECT_EQ(lz.LZOpenFile("C:\\NOPE.DRV", of, kOfRead), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorFileNotFound);
    EXPECT_TRUE(machine.events.empty());

    EXPECT_EQ(lz.LZOpenFile("C:\\NODIR\\NOPE.DRV", of, kOfRead | kOfPrompt), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorPathNotFound);
    ASSERT_EQ(machine.events.size(), 1u);
    EXPECT_EQ(machine.events[0].event, "prompt");
    ASSERT_EQ(machine.events[0].fields.size(), 1u);
    EXPECT_EQ(machine.events[0].fields[0].first, "file");
    EXPECT_EQ(std::get<std::string>(machine.events[0].fields[0].second), "C:\\NODIR\\NOPE.DRV");

    EXPECT_EQ(lz.LZOpenFile("D:\\NOPE.DRV", of, kOfExist | kOfPrompt), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorPathNotFound);
    EXPECT_EQ(machine.events.size(), 2u);

    // A file present under either name opens without a prompt.
    machine.Write("HERE.DR_", host::CompressSzdd(std::vector<BYTE>{1, 2, 3}));
    const LzHandle in = lz.LZOpenFile("C:\\HERE.DRV", of, kOfRead | kOfPrompt);
    EXPECT_GT(in, 0);
    lz.LZClose(in);
    EXPECT_EQ(machine.events.size(), 2u);
}

TEST_F(LzOpenTest, ExistDeleteAndCreate) {
    machine.Write("OLD.DRV", {1, 2, 3, 4});
    machine.Write("OLD.DR_", {5});
    EXPECT_EQ(lz.LZOpenFile("C:\\OLD.DRV", of, kOfExist), 1);
    EXPECT_TRUE(machine.Exists("OLD.DRV"));

    // Create empties an existing file and writes through LWrite.
    const LzHandle out = lz.LZOpenFile("C:\\OLD.DRV", of, kOfCreate);
    ASSERT_GT(out, 0);
    EXPECT_EQ(lz.LWrite(out, "ab", 2), 2u);
    lz.LZClose(out);
    EXPECT_EQ(machine.Read("OLD.DRV"), (std::vector<BYTE>{'a', 'b'}));

    EXPECT_EQ(lz.LZOpenFile("C:\\OLD.DRV", of, kOfDelete), 1);
    EXPECT_FALSE(machine.Exists("OLD.DRV"));
    // Deleting a name that is gone fails and leaves the compressed twin alone.
    EXPECT_EQ(lz.LZOpenFile("C:\\OLD.DRV", of, kOfDelete), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorFileNotFound);
    EXPECT_TRUE(machine.Exists("OLD.DR_"));

    // A new file keeps its name; a missing folder or a read-only drive refuses it.
    const LzHandle created = lz.LZOpenFile("C:\\New.Drv", of, kOfCreate);
    EXPECT_GT(created, 0);
    lz.LZClose(created);
    EXPECT_TRUE(machine.Exists("New.Drv"));
    EXPECT_EQ(lz.LZOpenFile("C:\\NODIR\\X.DRV", of, kOfCreate), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorPathNotFound);
    machine.readOnly = true;
    EXPECT_EQ(lz.LZOpenFile("C:\\RO.DRV", of, kOfCreate), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorAccessDenied);
    EXPECT_EQ(lz.LZOpenFile("C:\\New.Drv", of, kOfDelete), kHfileError);
    EXPECT_TRUE(machine.Exists("New.Drv"));
    EXPECT_EQ(lz.OpenHandleCount(), 0u);
}

TEST_F(LzOpenTest, CopyRejectsHandlesOfTheWrongKind) {
    machine.Write("SRC.DRV", {1, 2, 3});
    const LzHandle in = lz.LZOpenFile("C:\\SRC.DRV", of, kOfRead);
    const LzHandle out = lz.LZOpenFile("C:\\DST.DRV", of, kOfCreate);
    EXPECT_EQ(lz.LZCopy(9999, out), kLzErrorBadInHandle);
    EXPECT_EQ(lz.LZCopy(out, out), kLzErrorBadInHandle);
    EXPECT_EQ(lz.LZCopy(in, in), kLzErrorBadOutHandle);
    EXPECT_EQ(lz.LZCopy(in, kHfileError), kLzErrorBadOutHandle);
    EXPECT_EQ(lz.LWrite(in, "x", 1), 0xFFFFFFFFu);
    EXPECT_EQ(lz.LZCopy(in, out), 3);
    lz.LZClose(in);
    lz.LZClose(out);
    EXPECT_EQ(lz.LZCopy(in, out), kLzErrorBadInHandle);
}

TEST_F(LzOpenTest, HandleNumbersAreReusedSoALongRunNeverRunsOut) {
    machine.Write("SRC.DRV", {1});
    machine.Write("SRC.DR_", host::CompressSzdd(std::vector<BYTE>{1}));
    for (int i = 0; i < 1100; ++i) {
        const LzHandle plain = lz.LZOpenFile("C:\\SRC.DRV", of, kOfRead);
        const LzHandle packed = lz.LZOpenFile("C:\\SRC.DR_", of, kOfRead);
        ASSERT_GT(plain, 0);
        ASSERT_LT(plain, 0x400);
        ASSERT_GE(packed, 0x400);
        lz.LZClose(plain);
        lz.LZClose(packed);
    }
}

TEST_F(LzOpenTest, AFileHeldOpenElsewhereCanBeReadButNotReplaced) {
    machine.Write("UNI.DRV", {1, 2, 3});
    const auto held = machine.HostPath("UNI.DRV");
    lz.SetHeldOpen([&](const std::filesystem::path& path) { return path == held; });
    for (WORD style : {kOfCreate, kOfDelete, kOfWrite, kOfReadWrite}) {
        EXPECT_EQ(lz.LZOpenFile("C:\\UNI.DRV", of, style), kHfileError) << style;
        EXPECT_EQ(of.nErrCode, kErrorSharingViolation) << style;
    }
    EXPECT_EQ(machine.Read("UNI.DRV"), (std::vector<BYTE>{1, 2, 3}));
    const LzHandle in = lz.LZOpenFile("C:\\UNI.DRV", of, kOfRead);
    EXPECT_GT(in, 0);
    lz.LZClose(in);
    // A new file of another name is not held.
    const LzHandle out = lz.LZOpenFile("C:\\UNI2.DRV", of, kOfCreate);
    EXPECT_GT(out, 0);
    lz.LZClose(out);
}

TEST_F(LzOpenTest, AFolderIsNotAFile) {
    std::filesystem::create_directory(machine.HostPath("SUB.DIR"));
    EXPECT_EQ(lz.LZOpenFile("C:\\SUB.DIR", of, kOfRead), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorAccessDenied);
    EXPECT_EQ(lz.LZOpenFile("C:\\SUB.DIR", of, kOfCreate), kHfileError);
    EXPECT_EQ(lz.LZOpenFile("C:\\SUB.DIR", of, kOfDelete), kHfileError);
    EXPECT_TRUE(std::filesystem::is_directory(machine.HostPath("SUB.DIR")));
}

} // namespace
} // namespace tl
