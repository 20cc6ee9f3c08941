#include "platform/host/szdd_compressor.h"
#include "port_contract.h"

namespace tl::test {
namespace {

std::string Sample() {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "Telmora 600 printer driver, line " + std::to_string(i) + "\r\n";
    }
    return text;
}

std::string Compressed(const std::string& text, char missing) {
    const auto bytes = host::CompressSzdd({reinterpret_cast<const BYTE*>(text.data()), text.size()},
                                          static_cast<BYTE>(missing));
    return std::string(bytes.begin(), bytes.end());
}

// Copies source to dest with LZCopy: what LZCopy returned.
LONG Copy(LzExpand& lz, const std::string& source, const std::string& dest,
          OfStruct* sourceOf = nullptr) {
    OfStruct of;
    const LzHandle in = lz.LZOpenFile(source, sourceOf != nullptr ? *sourceOf : of, kOfRead);
    if (in < 0) {
        return in;
    }
    const LzHandle out = lz.LZOpenFile(dest, of, kOfCreate);
    EXPECT_GE(out, 0) << dest;
    const LONG copied = lz.LZCopy(in, out);
    lz.LZClose(in);
    lz.LZClose(out);
    return copied;
}

TEST_P(LzContract, CopiesCarryTheSourcesLastWriteTime) {
    // 31 December 1995, 08:50:00 UTC, on a plain and on a compressed source.
    const FILETIME stamp = MakeFileTime(124648734000000000ULL);
    WriteFile("PLAIN.TXT", "plain");
    WriteFile("DRIVER.DR_", Compressed(Sample(), 'V'));
    for (const char* name : {"PLAIN.TXT", "DRIVER.DR_"}) {
        FileHandle file =
            Files().CreateFile(Path(name), kGenericWrite, kFileShareWrite, kOpenAlways);
        ASSERT_TRUE(file);
        EXPECT_TRUE(Store().SetFileTime(file, nullptr, nullptr, &stamp));
        Files().CloseHandle(file);
    }
    ASSERT_GT(Copy(Ports().lz, Path("PLAIN.TXT"), Path("PLAIN.OUT")), 0);
    ASSERT_GT(Copy(Ports().lz, Path("DRIVER.DRV"), Path("DRIVER.OUT")), 0);

    for (const char* name : {"PLAIN.OUT", "DRIVER.OUT"}) {
        FileHandle file =
            Files().CreateFile(Path(name), kGenericRead, kFileShareRead, kOpenExisting);
        ASSERT_TRUE(file) << name;
        FILETIME lastWrite;
        EXPECT_TRUE(Store().GetFileTime(file, nullptr, nullptr, &lastWrite));
        EXPECT_EQ(lastWrite, stamp) << name;
        // Setting a time needs a handle opened for writing.
        if (!WineDiffers("SetFileTime, read-only handle")) {
            EXPECT_FALSE(Store().SetFileTime(file, nullptr, nullptr, &stamp));
            EXPECT_EQ(Files().GetLastError(), kErrorAccessDenied);
        }
        Files().CloseHandle(file);
    }
}

TEST_P(LzContract, MissingAndCutFilesFail) {
    OfStruct of;
    EXPECT_LT(Copy(Ports().lz, Path("NONE.DRV"), Path("OUT.DRV"), &of), 0);
    EXPECT_EQ(of.nErrCode, kErrorFileNotFound);
    EXPECT_EQ(of.cBytes, OfStruct::kSize);

    // A compressed file cut short is never taken for the whole file.
    const std::string text = Sample();
    const std::string whole = Compressed(text, 'V');
    WriteFile("CUT.DR_", whole.substr(0, whole.size() / 2));
    EXPECT_LT(Copy(Ports().lz, Path("CUT.DR_"), Path("CUT.DRV")), 0);

    // kOfExist tests without opening; kOfDelete deletes.
    WriteFile("GONE.TXT", "x");
    EXPECT_GE(Ports().lz.LZOpenFile(Path("GONE.TXT"), of, kOfExist), 0);
    EXPECT_GE(Ports().lz.LZOpenFile(Path("GONE.TXT"), of, kOfDelete), 0);
    EXPECT_EQ(Files().GetFileAttributes(Path("GONE.TXT")), kInvalidFileAttributes);
}

TEST_P(LzContract, CreatesExactlyTheNamedFileAtAnyPathLength) {
    // A directory in the way: the create fails, and no file of another name takes the data.
    ASSERT_TRUE(Store().CreateDirectory(Path("BLOCKED.TMP")));
    OfStruct of;
    EXPECT_LT(Ports().lz.LZOpenFile(Path("BLOCKED.TMP"), of, kOfCreate), 0);
    EXPECT_EQ(of.nErrCode, kErrorAccessDenied);
    EXPECT_EQ(Files().GetFileAttributes(Path("BLOCKED.TM_")), kInvalidFileAttributes);

    // Paths beyond the 128 bytes OpenFile holds, up to the system's 259 characters: a copy's
    // temporary file in a directory as long as CreateDirectory takes.
    for (std::size_t length : {140u, 259u}) {
        const std::string name = "TLFONT01.TTF.TMP";
        const std::string directory = "D" + std::string(length - Path("D\\" + name).size(), 'x');
        ASSERT_TRUE(Store().CreateDirectory(Path(directory))) << length;
        const std::string text = Sample();
        WriteFile("FONT.TT_", Compressed(text, 'F'));
        const std::string target = directory + "\\" + name;
        ASSERT_EQ(Path(target).size(), length);
        EXPECT_EQ(Copy(Ports().lz, Path("FONT.TTF"), Path(target)), static_cast<LONG>(text.size()))
            << length;
        EXPECT_EQ(Copy(Ports().lz, Path(target), Path("BACK.TTF")), static_cast<LONG>(text.size()))
            << length;
        EXPECT_EQ(ReadFile("BACK.TTF"), text) << length;
        EXPECT_GE(Ports().lz.LZOpenFile(Path(target), of, kOfDelete), 0) << length;
    }
}

} // namespace
} // namespace tl::test
