#include "platform/host/lz_host.h"
#include "platform/host/szdd_compressor.h"
#include "platform/host/szdd_expander.h"
#include "platform/lz_fake_machine.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

namespace tl {
namespace {

using testing::RandomBytes;
using testing::RepetitiveBytes;
using testing::TempMachine;

bool HaveMscompress() {
    return std::system("command -v mscompress >/dev/null 2>&1") == 0;
}

// Copies C:\<from> to C:\<to> through the port as the copy engine does; the LZCopy result.
LONG CopyThroughPort(LzExpand& lz, const std::string& from, const std::string& to) {
    OfStruct ofIn;
    OfStruct ofOut;
    const LzHandle in = lz.LZOpenFile("C:\\" + from, ofIn, kOfRead);
    const LzHandle out = lz.LZOpenFile("C:\\" + to, ofOut, kOfCreate);
    EXPECT_GT(in, 0);
    EXPECT_GT(out, 0);
    const LONG result = lz.LZCopy(in, out);
    lz.LZClose(in);
    lz.LZClose(out);
    return result;
}

struct Sample {
    std::string label;
    std::vector<BYTE> bytes;
};

// Debian's mscompress garbles files of 1 to 15 bytes (its own fault: msexpand reads them back
// wrong too), so the oracle test leaves those sizes to the own compressor.
std::vector<Sample> Samples(bool tiny) {
    std::vector<Sample> samples;
    std::vector<std::size_t> sizes{0, 16, 17, 4095, 4096, 4097, 70000};
    if (tiny) {
        sizes.insert(sizes.end(), {1, 2, 3, 15});
    }
    for (std::size_t size : sizes) {
        samples.push_back({"repetitive " + std::to_string(size), RepetitiveBytes(size)});
        samples.push_back({"random " + std::to_string(size),
                           RandomBytes(size, static_cast<std::uint32_t>(7 + size))});
    }
    samples.push_back({"blanks", std::vector<BYTE>(10000, ' ')});
    samples.push_back({"zeros", std::vector<BYTE>(10000, 0)});
    return samples;
}

TEST(SzddExpand, FilesCompressedByMscompressExpandToTheOriginalBytes) {
    if (!HaveMscompress()) {
        GTEST_SKIP() << "mscompress is not installed";
    }
    TempMachine machine;
    host::HostLzExpand lz(machine, machine);
    for (const Sample& sample : Samples(false)) {
        SCOPED_TRACE(sample.label);
        machine.Write("DATA.DRV", sample.bytes);
        std::filesystem::remove(machine.HostPath("DATA.DRV_"));
        const std::string command = "mscompress '" + machine.HostPath("DATA.DRV").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_TRUE(machine.Exists("DATA.DRV_"));
        EXPECT_EQ(CopyThroughPort(lz, "DATA.DRV_", "OUT.DRV"),
                  static_cast<LONG>(sample.bytes.size()));
        EXPECT_EQ(machine.Read("OUT.DRV"), sample.bytes);
    }
    EXPECT_EQ(lz.OpenHandleCount(), 0u);
}

TEST(SzddExpand, OwnCompressorRoundTripsAndCarriesTheMissingCharacter) {
    TempMachine machine;
    host::HostLzExpand lz(machine, machine);
    for (const Sample& sample : Samples(true)) {
        SCOPED_TRACE(sample.label);
        const std::vector<BYTE> packed = host::CompressSzdd(sample.bytes, 'V');
        const auto header = host::ParseSzddHeader(packed);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->missingChar, 'V');
        EXPECT_EQ(header->expandedLength, sample.bytes.size());
        machine.Write("DATA.DR_", packed);
        EXPECT_EQ(CopyThroughPort(lz, "DATA.DR_", "OUT.DRV"),
                  static_cast<LONG>(sample.bytes.size()));
        EXPECT_EQ(machine.Read("OUT.DRV"), sample.bytes);
    }
    // Repetitive data must actually shrink, or the encoder is emitting only literals.
    EXPECT_LT(host::CompressSzdd(RepetitiveBytes(70000)).size(), 70000u / 3);
}

TEST(SzddExpand, OwnCompressorOutputIsReadByMsexpand) {
    if (std::system("command -v msexpand >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "msexpand is not installed";
    }
    TempMachine machine;
    const std::vector<BYTE> original = RepetitiveBytes(50000);
    machine.Write("DATA.DR_", host::CompressSzdd(original, 'V'));
    const std::string command = "msexpand < '" + machine.HostPath("DATA.DR_").string() + "' > '" +
                                machine.HostPath("OUT.DRV").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(machine.Read("OUT.DRV"), original);
}

TEST(SzddExpand, TruncatedOrDamagedDataFailsInsteadOfGivingAShortFile) {
    TempMachine machine;
    host::HostLzExpand lz(machine, machine);
    const std::vector<BYTE> original = RandomBytes(9000, 3);
    const std::vector<BYTE> packed = host::CompressSzdd(original);

    // Cut anywhere after the header: the data ends before the promised length.
    for (std::size_t keep :
         {std::size_t{15}, std::size_t{100}, packed.size() / 2, packed.size() - 1}) {
        SCOPED_TRACE(keep);
        machine.Write("CUT.DR_", std::vector<BYTE>(packed.begin(), packed.begin() + keep));
        EXPECT_EQ(CopyThroughPort(lz, "CUT.DR_", "OUT.DRV"), kLzErrorRead);
    }

    // A header that promises more than the data holds.
    std::vector<BYTE> longer = packed;
    longer[10] = static_cast<BYTE>(longer[10] + 1);
    machine.Write("LONG.DR_", longer);
    EXPECT_EQ(CopyThroughPort(lz, "LONG.DR_", "OUT.DRV"), kLzErrorRead);

    // A header that promises less: the expanded file stops at its length.
    std::vector<BYTE> shorter = packed;
    shorter[10] = static_cast<BYTE>(9000 - 100);
    shorter[11] = static_cast<BYTE>((9000 - 100) >> 8);
    machine.Write("SHORT.DR_", shorter);
    EXPECT_EQ(CopyThroughPort(lz, "SHORT.DR_", "OUT.DRV"), 8900);
    EXPECT_EQ(machine.Read("OUT.DRV"),
              std::vector<BYTE>(original.begin(), original.begin() + 8900));

    // Another compression method than 'A'.
    std::vector<BYTE> other = packed;
    other[8] = 'B';
    machine.Write("OTHER.DR_", other);
    EXPECT_EQ(CopyThroughPort(lz, "OTHER.DR_", "OUT.DRV"), kLzErrorUnknownAlg);

    // A length that a LONG result cannot report.
    std::vector<BYTE> huge = packed;
    huge[13] = 0x80;
    machine.Write("HUGE.DR_", huge);
    EXPECT_EQ(CopyThroughPort(lz, "HUGE.DR_", "OUT.DRV"), kLzErrorBadValue);
    EXPECT_EQ(lz.OpenHandleCount(), 0u);
}

// A destination that takes no bytes (a full disk): the copy fails, whether it expands or not.
TEST(SzddExpand, AFullDiskMakesTheCopyFail) {
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    struct FullDisk final : host::PathResolver {
        explicit FullDisk(const TempMachine& m) : machine(m) {}
        host::ResolvedPath Resolve(std::string_view path, host::PathUse use) const override {
            return path == "F:\\OUT.DRV" ? host::ResolvedPath{"/dev/full", kErrorSuccess}
                                         : machine.Resolve(path, use);
        }
        const TempMachine& machine;
    };
    TempMachine machine;
    FullDisk resolver(machine);
    host::HostLzExpand lz(resolver, machine);
    machine.Write("BIG.DR_", host::CompressSzdd(RepetitiveBytes(300000)));
    machine.Write("BIG.DRV", RandomBytes(300000, 5));
    for (const char* source : {"C:\\BIG.DR_", "C:\\BIG.DRV"}) {
        OfStruct of;
        const LzHandle in = lz.LZOpenFile(source, of, kOfRead);
        const LzHandle out = lz.LZOpenFile("F:\\OUT.DRV", of, kOfCreate);
        ASSERT_GT(in, 0);
        ASSERT_GT(out, 0);
        EXPECT_EQ(lz.LZCopy(in, out), kLzErrorWrite) << source;
        lz.LZClose(in);
        lz.LZClose(out);
    }
}

TEST(SzddExpand, FilesThatAreNotCompressedCopyUnchanged) {
    TempMachine machine;
    host::HostLzExpand lz(machine, machine);
    for (const std::vector<BYTE>& bytes :
         {std::vector<BYTE>{}, std::vector<BYTE>{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27},
          std::vector<BYTE>{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x34, 'A', 0, 1, 0, 0, 0, 'x'},
          RandomBytes(200000, 9)}) {
        machine.Write("PLAIN.DRV", bytes);
        EXPECT_EQ(CopyThroughPort(lz, "PLAIN.DRV", "OUT.DRV"), static_cast<LONG>(bytes.size()));
        EXPECT_EQ(machine.Read("OUT.DRV"), bytes);
    }
}

TEST(SzddExpand, LZReadDeliversTheExpandedBytesInPieces) {
    TempMachine machine;
    host::HostLzExpand lz(machine, machine);
    const std::vector<BYTE> original = RepetitiveBytes(10000);
    machine.Write("TEXT.IN_", host::CompressSzdd(original));
    OfStruct of;
    const LzHandle in = lz.LZOpenFile("C:\\TEXT.IN_", of, kOfRead);
    ASSERT_GE(in, 0x400);
    std::vector<BYTE> got;
    std::array<BYTE, 333> piece{};
    for (INT n; (n = lz.LZRead(in, piece.data(), static_cast<INT>(piece.size()))) > 0;) {
        got.insert(got.end(), piece.begin(), piece.begin() + n);
    }
    EXPECT_EQ(got, original);
    EXPECT_EQ(lz.LZRead(in, piece.data(), -1), kLzErrorBadValue);
    lz.LZClose(in);
    EXPECT_EQ(lz.LZRead(in, piece.data(), 1), kLzErrorBadInHandle);
}

} // namespace
} // namespace tl
