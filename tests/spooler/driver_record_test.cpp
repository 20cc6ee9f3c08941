#include "spooler/driver_record.h"

#include <gtest/gtest.h>

#include <string>

namespace tl {
namespace {

using namespace std::string_literals;

const std::string kBlock = "0\0TL600.DRV\0\r"s
                           "1\0\0\r"s
                           "2\0TL600.HLP\0\r"s
                           "3\0TL Monitor,TLMON.DLL\0\r"s
                           "4\0\0\r"s
                           "5\0TLPROC,TLPROC.DLL\0\r"s
                           "\x1A"s +
                           std::string(64, '\0');

TEST(DriverRecord, FindsRecordsByNumberAndStopsAtTheBlockEnd) {
    EXPECT_EQ(FindDriverRecord(kBlock, 0), "TL600.DRV");
    EXPECT_EQ(FindDriverRecord(kBlock, 1), "");
    EXPECT_EQ(FindDriverRecord(kBlock, 5), "TLPROC,TLPROC.DLL");
    EXPECT_EQ(FindDriverRecord(kBlock, 6), std::nullopt);
    // Records behind the end byte are not part of the block.
    EXPECT_EQ(FindDriverRecord("1\0A\0\r\x1A"s
                               "7\0B\0\r"s,
                               7),
              std::nullopt);
    // Several digits are one decimal number; "07" is 7, a number with a letter matches nothing.
    EXPECT_EQ(FindDriverRecord("12\0X\0\r07\0Y\0\r1a\0Z\0\r\x1A"s, 12), "X");
    EXPECT_EQ(FindDriverRecord("12\0X\0\r07\0Y\0\r1a\0Z\0\r\x1A"s, 7), "Y");
    EXPECT_EQ(FindDriverRecord("12\0X\0\r07\0Y\0\r1a\0Z\0\r\x1A"s, 1), std::nullopt);
}

TEST(DriverRecord, TruncatedBlocksEndTheSearchWithoutReadingPastThem) {
    EXPECT_EQ(FindDriverRecord("", 0), std::nullopt);
    EXPECT_EQ(FindDriverRecord("0\0TL600.DRV"s, 0), std::nullopt);
    EXPECT_EQ(FindDriverRecord("0\0A\0"s, 0), "A"); // no carriage return, no end byte
    EXPECT_EQ(FindDriverRecord("0\0A\0\r3"s, 3), std::nullopt);
}

TEST(DriverRecord, FieldsSplitAtCommasAndPassOverEmptyOnes) {
    EXPECT_EQ(DriverRecordField("TL Monitor,TLMON.DLL", 1), "TL Monitor");
    EXPECT_EQ(DriverRecordField("TL Monitor,TLMON.DLL", 2), "TLMON.DLL");
    EXPECT_EQ(DriverRecordField("TL Monitor", 2), "");
    EXPECT_EQ(DriverRecordField("", 1), "");
    // An empty second field is passed over: field 2 is the third one written.
    EXPECT_EQ(DriverRecordField("NAME,,LIB.DLL", 2), "LIB.DLL");
    EXPECT_EQ(DriverRecordField("NAME,LIB.DLL\rREST", 2), "LIB.DLL");
}

} // namespace
} // namespace tl
