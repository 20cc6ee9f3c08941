// The LZ port writing to a simulated PC whose drives report a FreeBytes figure: it uses up the
// same space as the file port, and a write that does not fit fails whole.
#include "platform/host/event_log.h"
#include "platform/host/iconv_code_page.h"
#include "platform/host/lz_host.h"
#include "platform/host/machine_file_system.h"
#include "platform/host/szdd_compressor.h"
#include "platform/lz_fake_machine.h"
#include "support/temp_machine.h"

#include <gtest/gtest.h>

#include <memory>

namespace tl::host {
namespace {

class LzFreeSpaceTest : public ::testing::Test {
protected:
    LzFreeSpaceTest() {
        folder.MakeDirectory("drive_c");
        folder.MakeDirectory("drive_d");
        folder.WriteMachineIni("[Drive.C]\nFreeBytes=6000\n");
        auto result = LoadMachineConfig(folder.Root(), codePage);
        EXPECT_TRUE(result.config) << result.error;
        config = result.config.value_or(MachineConfig{});
        resolver = std::make_unique<MachinePathResolver>(config, codePage);
        files = std::make_unique<MachineFileSystem>(config, *resolver);
        lz = std::make_unique<HostLzExpand>(*resolver, events);
        lz->SetDriveSpace(files.get());
    }

    void Put(const std::string& hostPath, const std::vector<BYTE>& bytes) {
        folder.WriteFile(hostPath, std::string(bytes.begin(), bytes.end()));
    }

    std::uint64_t FreeOnC() {
        DiskFreeSpaceEx space;
        EXPECT_TRUE(files->GetDiskFreeSpaceEx("C:\\", &space));
        return space.freeBytesAvailable;
    }

    LONG Copy(const std::string& from, const std::string& to) {
        OfStruct of;
        const LzHandle in = lz->LZOpenFile(from, of, kOfRead);
        const LzHandle out = lz->LZOpenFile(to, of, kOfCreate);
        EXPECT_GT(in, 0) << from;
        EXPECT_GT(out, 0) << to;
        const LONG result = lz->LZCopy(in, out);
        lz->LZClose(in);
        lz->LZClose(out);
        return result;
    }

    test::TempMachine folder;
    IconvCodePage codePage;
    MachineConfig config;
    std::unique_ptr<MachinePathResolver> resolver;
    std::unique_ptr<MachineFileSystem> files;
    EventLog events;
    std::unique_ptr<HostLzExpand> lz;
};

TEST_F(LzFreeSpaceTest, AnExpansionThatDoesNotFitFailsWholeAndTakesNothing) {
    // The compressed file is far smaller than the drive's room; what it expands to is not.
    const std::vector<BYTE> big = testing::RepetitiveBytes(10000);
    const std::vector<BYTE> packed = CompressSzdd(big, 'V');
    ASSERT_LT(packed.size(), 6000u);
    Put("drive_d/BIG.DR_", packed);
    Put("drive_d/SMALL.DRV", testing::RandomBytes(5000, 3));

    EXPECT_EQ(Copy("D:\\BIG.DR_", "C:\\BIG.DRV"), kLzErrorWrite);
    EXPECT_EQ(folder.ReadFile("drive_c/BIG.DRV"), "");
    EXPECT_EQ(FreeOnC(), 6000u);

    // A plain file is measured before it is copied too; one that fits uses the space up.
    Put("drive_d/LARGE.DRV", testing::RandomBytes(6001, 4));
    EXPECT_EQ(Copy("D:\\LARGE.DRV", "C:\\LARGE.DRV"), kLzErrorWrite);
    EXPECT_EQ(folder.ReadFile("drive_c/LARGE.DRV"), "");
    EXPECT_EQ(Copy("D:\\SMALL.DRV", "C:\\SMALL.DRV"), 5000);
    EXPECT_EQ(FreeOnC(), 1000u);

    // The file port's delete gives back what the LZ copy used; a drive without a figure takes
    // any size.
    EXPECT_TRUE(files->DeleteFile("C:\\SMALL.DRV"));
    EXPECT_EQ(FreeOnC(), 6000u);
    EXPECT_EQ(Copy("D:\\BIG.DR_", "D:\\BIG.DRV"), 10000);
    EXPECT_EQ(Copy("D:\\BIG.DR_", "C:\\NOW.DRV"), kLzErrorWrite);
    EXPECT_EQ(FreeOnC(), 6000u);
    EXPECT_EQ(lz->OpenHandleCount(), 0u);
}

TEST_F(LzFreeSpaceTest, WritingEmptyingAndDeletingKeepTheCountTrue) {
    OfStruct of;
    const std::string block(4000, 'w');
    LzHandle out = lz->LZOpenFile("C:\\DATA.BIN", of, kOfCreate);
    ASSERT_GT(out, 0);
    EXPECT_EQ(lz->LWrite(out, block.data(), 4000), 4000u);
    EXPECT_EQ(lz->LWrite(out, block.data(), 2001), 0xFFFFFFFFu);
    lz->LZClose(out);
    EXPECT_EQ(folder.ReadFile("drive_c/DATA.BIN"), block);
    EXPECT_EQ(FreeOnC(), 2000u);

    // Writing over what a file already holds takes nothing; only growth does.
    out = lz->LZOpenFile("C:\\DATA.BIN", of, kOfWrite);
    ASSERT_GT(out, 0);
    EXPECT_EQ(lz->LWrite(out, block.data(), 4000), 4000u);
    EXPECT_EQ(lz->LWrite(out, block.data(), 2000), 2000u);
    lz->LZClose(out);
    EXPECT_EQ(FreeOnC(), 0u);

    // Creating over a file empties it, and deleting it, both give its size back.
    out = lz->LZOpenFile("C:\\DATA.BIN", of, kOfCreate);
    ASSERT_GT(out, 0);
    EXPECT_EQ(FreeOnC(), 6000u);
    EXPECT_EQ(lz->LWrite(out, block.data(), 1000), 1000u);
    lz->LZClose(out);
    EXPECT_EQ(FreeOnC(), 5000u);
    EXPECT_EQ(lz->LZOpenFile("C:\\DATA.BIN", of, kOfDelete), 1);
    EXPECT_EQ(FreeOnC(), 6000u);
}

} // namespace
} // namespace tl::host
