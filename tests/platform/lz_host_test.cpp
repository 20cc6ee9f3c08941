// The host LZ port on a simulated PC: SZDD files from its own compressor and from mscompress,
// damaged ones, and the PC's refusals (read-only drive, files in use, full disks).
#include "host_pc.h"
#include "platform/compressed_name.h"
#include "platform/host/szdd_compressor.h"

#include <cstdlib>

namespace tl::host {
namespace {

using test::RandomBytes;
using test::RepetitiveBytes;

std::string Packed(std::string_view text, char missing = 0) {
    const std::vector<BYTE> packed = CompressSzdd(test::Bytes(text), static_cast<BYTE>(missing));
    return std::string(packed.begin(), packed.end());
}

class LzHostTest : public ::testing::Test {
protected:
    // C: as large as the host, D: read-only, E: with 6000 bytes free.
    LzHostTest()
        : pc("[Drive.D]\nReadOnly=1\n[Drive.E]\nFreeBytes=6000\n[InUse]\nC:\\UNI.DRV=1\n",
             {{"drive_c/UNI.DRV", "\1\2\3"}, {"drive_d/RO.DRV", "ro"}, {"drive_e/E.TXT", ""}}) {}

    void Put(const std::string& name, std::string_view bytes) {
        pc.folder.WriteFile("drive_c/" + name, bytes);
    }
    std::string Get(const std::string& name) { return pc.folder.ReadFile("drive_c/" + name); }
    LzHandle Open(const std::string& path, WORD style) { return lz.LZOpenFile(path, of, style); }
    LONG Copy(const std::string& from, const std::string& to) {
        const LzHandle in = Open(from, kOfRead);
        const LzHandle out = Open(to, kOfCreate);
        EXPECT_GT(in, 0) << from;
        EXPECT_GT(out, 0) << to;
        const LONG result = lz.LZCopy(in, out);
        lz.LZClose(in);
        lz.LZClose(out);
        return result;
    }
    LONG CopyC(const std::string& from, const std::string& to) {
        return Copy("C:\\" + from, "C:\\" + to);
    }
    std::uint64_t FreeOnE() {
        DiskFreeSpaceEx space;
        EXPECT_TRUE(pc.Ports().storage.GetDiskFreeSpaceEx("E:\\", &space));
        return space.freeBytesAvailable;
    }

    test::HostPc pc;
    LzExpand& lz = pc.Ports().lz;
    OfStruct of;
};

TEST_F(LzHostTest, ReadingFindsTheCompressedNameDeliversPiecesAndPromptsOnlyWhenAsked) {
    EXPECT_EQ(CompressedName("A:\\DIR.X\\README"), "A:\\DIR.X\\README._");
    const std::string original = RepetitiveBytes(10000);
    Put("UNIDRV.DL_", Packed(original, 'L'));
    const LzHandle in = Open("C:\\UNIDRV.DLL", kOfRead | kOfPrompt);
    ASSERT_GE(in, 0x400);
    EXPECT_EQ(of.szPathName, "C:\\UNIDRV.DL_");
    std::string got;
    char piece[333];
    for (INT n; (n = lz.LZRead(in, piece, static_cast<INT>(sizeof piece))) > 0;) {
        got.append(piece, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, original);
    EXPECT_EQ(lz.LZRead(in, piece, -1), kLzErrorBadValue);
    lz.LZClose(in);
    EXPECT_EQ(lz.LZRead(in, piece, 1), kLzErrorBadInHandle);

    EXPECT_EQ(Open("C:\\NOPE.DRV", kOfRead), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorFileNotFound);
    EXPECT_EQ(Open("C:\\NODIR\\NOPE.DRV", kOfRead | kOfPrompt), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorPathNotFound);
    EXPECT_EQ(Open("Q:\\NOPE.DRV", kOfExist | kOfPrompt), kHfileError);
    const std::vector<PlatformEvent>& events = pc.events.Events();
    ASSERT_EQ(events.size(), 2u); // none for the open that did not ask
    EXPECT_EQ(events[0].event, "prompt");
}

TEST_F(LzHostTest, CreateDeleteAndTheRefusalsOfThePc) {
    Put("OLD.DRV", "1234");
    Put("OLD.DR_", "5");
    LzHandle out = Open("C:\\OLD.DRV", kOfCreate);
    ASSERT_GT(out, 0);
    EXPECT_EQ(lz.LWrite(out, "ab", 2), 2u);
    lz.LZClose(out);
    EXPECT_EQ(Get("OLD.DRV"), "ab");
    EXPECT_EQ(Open("C:\\OLD.DRV", kOfDelete), 1);
    // Deleting a name that is gone fails and leaves the compressed twin alone.
    EXPECT_EQ(Open("C:\\OLD.DRV", kOfDelete), kHfileError);
    EXPECT_EQ(of.nErrCode, kErrorFileNotFound);
    EXPECT_TRUE(pc.folder.Exists("drive_c/OLD.DR_"));

    // A folder is not a file; a missing folder takes none; a read-only drive and a file held
    // open elsewhere are read but neither replaced nor deleted.
    pc.folder.MakeDirectory("drive_c/SUB.DIR");
    struct Case {
        const char* path;
        std::vector<WORD> styles;
        DWORD error;
    };
    for (const Case& c : {Case{"C:\\SUB.DIR", {kOfRead, kOfCreate, kOfDelete}, kErrorAccessDenied},
                          Case{"C:\\NODIR\\X.DRV", {kOfCreate}, kErrorPathNotFound},
                          Case{"D:\\RO.DRV", {kOfCreate, kOfDelete, kOfWrite}, kErrorAccessDenied},
                          Case{"D:\\NEW.DRV", {kOfCreate}, kErrorAccessDenied},
                          Case{"C:\\UNI.DRV",
                               {kOfCreate, kOfDelete, kOfWrite, kOfReadWrite},
                               kErrorSharingViolation}}) {
        for (WORD style : c.styles) {
            EXPECT_EQ(Open(c.path, style), kHfileError) << c.path << " " << style;
            EXPECT_EQ(of.nErrCode, c.error) << c.path << " " << style;
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(pc.folder.Root() / "drive_c/SUB.DIR"));
    EXPECT_EQ(pc.folder.ReadFile("drive_d/RO.DRV"), "ro");
    EXPECT_EQ(Get("UNI.DRV"), "\1\2\3");
    EXPECT_EQ(CopyC("UNI.DRV", "UNI2.DRV"), 3);
    EXPECT_EQ(pc.machine->Lz().OpenHandleCount(), 0u);
}

TEST_F(LzHostTest, CopyRejectsHandlesOfTheWrongKindAndHandleNumbersAreReused) {
    Put("SRC.DRV", "abc");
    const LzHandle in = Open("C:\\SRC.DRV", kOfRead);
    const LzHandle out = Open("C:\\DST.DRV", kOfCreate);
    EXPECT_EQ(lz.LZCopy(9999, out), kLzErrorBadInHandle);
    EXPECT_EQ(lz.LZCopy(out, out), kLzErrorBadInHandle);
    EXPECT_EQ(lz.LZCopy(in, in), kLzErrorBadOutHandle);
    EXPECT_EQ(lz.LZCopy(in, kHfileError), kLzErrorBadOutHandle);
    EXPECT_EQ(lz.LWrite(in, "x", 1), 0xFFFFFFFFu);
    EXPECT_EQ(lz.LZCopy(in, out), 3);
    lz.LZClose(in);
    lz.LZClose(out);
    EXPECT_EQ(lz.LZCopy(in, out), kLzErrorBadInHandle);
    EXPECT_EQ(Open("C:\\SRC.DRV", kOfRead), in); // the lowest free number again
}

TEST_F(LzHostTest, WhatDoesNotFitTheDriveFailsWholeAndTakesNothing) {
    // The compressed file is far smaller than the drive's room; what it expands to is not.
    const std::string big = Packed(RepetitiveBytes(10000), 'V');
    ASSERT_LT(big.size(), 6000u);
    Put("BIG.DR_", big);
    Put("LARGE.DRV", RandomBytes(6001, 4));
    Put("SMALL.DRV", RandomBytes(5000, 3));
    EXPECT_EQ(Copy("C:\\BIG.DR_", "E:\\BIG.DRV"), kLzErrorWrite);
    EXPECT_EQ(Copy("C:\\LARGE.DRV", "E:\\LARGE.DRV"), kLzErrorWrite);
    EXPECT_EQ(pc.folder.ReadFile("drive_e/BIG.DRV") + pc.folder.ReadFile("drive_e/LARGE.DRV"), "");
    EXPECT_EQ(FreeOnE(), 6000u);
    EXPECT_EQ(Copy("C:\\SMALL.DRV", "E:\\SMALL.DRV"), 5000);
    EXPECT_EQ(FreeOnE(), 1000u);
    // The file port's delete gives back what the LZ copy used.
    EXPECT_TRUE(pc.Files().DeleteFile("E:\\SMALL.DRV"));
    EXPECT_EQ(FreeOnE(), 6000u);

    // Writing over what a file holds takes nothing, only growth does; deleting gives it back.
    const std::string block(4000, 'w');
    LzHandle out = Open("E:\\DATA.BIN", kOfCreate);
    EXPECT_EQ(lz.LWrite(out, block.data(), 4000), 4000u);
    EXPECT_EQ(lz.LWrite(out, block.data(), 2001), 0xFFFFFFFFu);
    lz.LZClose(out);
    EXPECT_EQ(FreeOnE(), 2000u);
    out = Open("E:\\DATA.BIN", kOfWrite);
    EXPECT_EQ(lz.LWrite(out, block.data(), 4000), 4000u);
    EXPECT_EQ(lz.LWrite(out, block.data(), 2000), 2000u);
    lz.LZClose(out);
    EXPECT_EQ(FreeOnE(), 0u);
    EXPECT_EQ(Open("E:\\DATA.BIN", kOfDelete), 1);
    EXPECT_EQ(FreeOnE(), 6000u);
}

TEST_F(LzHostTest, AFullDiskMakesTheCopyFail) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    struct FullDisk final : PathResolver {
        explicit FullDisk(const PathResolver& pc) : machine(pc) {}
        ResolvedPath Resolve(std::string_view path, PathUse use) const override {
            return path == "F:\\OUT.DRV" ? ResolvedPath{"/dev/full", kErrorSuccess}
                                         : machine.Resolve(path, use);
        }
        const PathResolver& machine;
    };
    FullDisk resolver(pc.machine->Resolver());
    HostLzExpand full(resolver, pc.events);
    Put("BIG.DR_", Packed(RepetitiveBytes(300000)));
    Put("BIG.DRV", RandomBytes(300000, 5));
    for (const char* source : {"C:\\BIG.DR_", "C:\\BIG.DRV"}) {
        const LzHandle in = full.LZOpenFile(source, of, kOfRead);
        const LzHandle out = full.LZOpenFile("F:\\OUT.DRV", of, kOfCreate);
        EXPECT_EQ(full.LZCopy(in, out), kLzErrorWrite) << source;
        full.LZClose(in);
        full.LZClose(out);
    }
}

// The own compressor round-trips every sample; Debian's mscompress is the oracle for the
// expander (it garbles files of 1 to 15 bytes, so those sizes are left to the own compressor).
TEST_F(LzHostTest, OwnAndMscompressFilesExpandToTheOriginalBytes) {
    const bool mscompress = std::system("command -v mscompress >/dev/null 2>&1") == 0;
    const std::filesystem::path data = pc.folder.Root() / "drive_c/DATA.DRV";
    std::vector<std::string> samples{std::string(10000, ' '), std::string(10000, '\0')};
    const std::size_t sizes[] = {0, 1, 2, 3, 15, 16, 17, 4095, 4096, 4097, 70000};
    for (std::size_t size : sizes) {
        samples.push_back(RepetitiveBytes(size));
        samples.push_back(RandomBytes(size, static_cast<std::uint32_t>(7 + size)));
    }
    for (const std::string& sample : samples) {
        SCOPED_TRACE(sample.size());
        const std::string packed = Packed(sample, 'V');
        Put("DATA.DR_", packed);
        EXPECT_EQ(CopyC("DATA.DR_", "OUT.DRV"), static_cast<LONG>(sample.size()));
        EXPECT_EQ(Get("OUT.DRV"), sample);
        if (mscompress && (sample.empty() || sample.size() >= 16)) {
            Put("DATA.DRV", sample);
            std::filesystem::remove(pc.folder.Root() / "drive_c/DATA.DRV_");
            ASSERT_EQ(std::system(("mscompress '" + data.string() + "'").c_str()), 0);
            EXPECT_EQ(CopyC("DATA.DRV_", "OUT.DRV"), static_cast<LONG>(sample.size()));
            EXPECT_EQ(Get("OUT.DRV"), sample);
        }
    }
    // Repetitive data must actually shrink, or the encoder is emitting only literals.
    EXPECT_LT(Packed(RepetitiveBytes(70000)).size(), 70000u / 3);
}

TEST_F(LzHostTest, DamagedDataFailsInsteadOfGivingAShortFileAndPlainFilesCopyUnchanged) {
    const std::string original = RandomBytes(9000, 3);
    const std::string packed = Packed(original);
    // Cut anywhere after the header: the data ends before the promised length.
    for (std::size_t keep :
         {std::size_t{15}, std::size_t{100}, packed.size() / 2, packed.size() - 1}) {
        Put("CUT.DR_", packed.substr(0, keep));
        EXPECT_EQ(CopyC("CUT.DR_", "OUT.DRV"), kLzErrorRead) << keep;
    }
    // A header that promises more than the data holds, another method than 'A', a length a LONG
    // cannot report; one that promises less: the expanded file stops at its length.
    struct Case {
        std::size_t at;
        char byte;
        LONG result;
    };
    for (const Case& c : {Case{10, static_cast<char>(packed[10] + 1), kLzErrorRead},
                          Case{8, 'B', kLzErrorUnknownAlg}, Case{13, '\x80', kLzErrorBadValue},
                          Case{11, static_cast<char>(8900 >> 8), 8900}}) {
        std::string damaged = packed;
        damaged[c.at] = c.byte;
        if (c.result == 8900) {
            damaged[10] = static_cast<char>(8900 & 0xFF);
        }
        Put("BAD.DR_", damaged);
        EXPECT_EQ(CopyC("BAD.DR_", "OUT.DRV"), c.result) << c.at;
    }
    EXPECT_EQ(Get("OUT.DRV"), original.substr(0, 8900));

    for (const std::string& bytes : {std::string(), std::string("SZDD\x88\xF0\x27"),
                                     std::string("SZDD\x88\xF0\x27\x34"
                                                 "A\0\1\0\0\0x",
                                                 15),
                                     RandomBytes(200000, 9)}) {
        Put("PLAIN.DRV", bytes);
        EXPECT_EQ(CopyC("PLAIN.DRV", "OUT.DRV"), static_cast<LONG>(bytes.size()));
        EXPECT_EQ(Get("OUT.DRV"), bytes);
    }
    EXPECT_EQ(pc.machine->Lz().OpenHandleCount(), 0u);
}

} // namespace
} // namespace tl::host
