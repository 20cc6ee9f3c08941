// The built-in string table against texts written here as UTF-8: the build's code-page-949
// conversion, the escapes of the table's source and the embedding must reproduce every byte.
#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <iconv.h>

namespace tl {
namespace {

using namespace std::string_view_literals;

// Texts whose wording is fixed: install disks name these files, sections and keys, and users see
// these messages, captions and buttons exactly so.
// clang-format off
const std::vector<std::pair<unsigned, std::string_view>> kFixedTexts = {
    {11, "INSTALL.INF"}, {12, "NEEDED.SPACE"}, {13, "TRUETYPEFONTS.FONTLIST"},
    {20, "PRINTERDRIVER.PATH"}, {21, "NEEDED.DiskSpace"}, {22, "VxD"}, {26, "ENU"}, {27, "FRC"},
    {28, "DEU"}, {29, "NLD"}, {30, "NOR"}, {31, "SVE"}, {32, "DEN"}, {33, "ITA"}, {34, "SPA"},
    {36, "DeleteIni"}, {37, "PRIVATE.INI"}, {38, "DEMOFILE"}, {39, "OEM.INF"}, {51, "~TL00001.txt"},
    {52, "system"}, {60, "&English"}, {61, "&Fran"}, {62, "&Deutsch"}, {63, "&Nederland"},
    {64, "Nors&k"}, {65, "&Svensk"}, {66, "Den&mark"}, {67, "&Italy"}, {68, "S&pain"},
    {70, "VERSION_TYPE"}, {71, "WIN95SETUP"}, {73, "Manufacturer"}, {74, "SourceDisksFiles"},
    {76, "DEL.INST"}, {101, "그곳은 "},
    {102, " 하드디스크에 드라이버가 설치됨"},
    {103, "프린터의 상태모니터가 동작되도록 드라이버를 제거할 것입니다. 계속하겠습니까?"},
    {104, "아니오를 선택할 경우, 인쇄시 약간의 오류가 일어날수도 있습니다."},
    {105, "프린터 드라이버를  다시 설치하려면, 설치관리자에서 프린터 드라이버를 제거하고 다시 "
          "설치하세요."},
    {106, " 프린터 드라이버."}, {107, "그곳은 "},
    {108, " 하드디스크에 드라이버가 설치됨\n"},
    {109, "제거하세요."},
    {110, " 디스크에 있는 제거 프로그램으로 드라이버를 제거하고 "},
    {111, " %s의 상태모니터가 작동 되도록 합니다.\n\n"},
    {112, "이것을 사용 할 경우 "},
    {113, " 프린터 드라이버를  다시 사용하려면, 설치자안에 있는 제거기능으로 프린터 드라이버를 "
          "제거하고 다시 설치하세요."},
    {114, " 프린터 드라이버."},
    {115,
     "설치하고자 선택된 폰트는 반전으로 표시됩니다.\n 디폴트로는 모든 폰트가 "
     "반전상태입니다.선택되어진 리스트에서 폰트을 제거하려면,폰트이름을 다시 클릭하면 됩니다."},
    {116, "반전표시되지 않은 폰트들은 설치되지 않습니다. 폰트명을 클릭하여 설치에서 추가되거나 "
          "삭제될 폰트를 정합니다.\n\n"},
    {117, "선택된 폰트에필요한 디스크 공간이 다이얼로그 박스에 나타납니다.\n"},
    {118, " 만약 이 공간이 부족하다면 일부 폰트를 설정해제하고,설치를 취소하려면 "},
    {119, "설치를 취소하려면 \"끝내기\"를 클릭하세요.\n"},
    {120, "하드디스크에 공간을 확보하고 다시 설치해 보세요.계속 진행하려면 계속을 클릭합니다. "
          "폰트설치를 취소하려면 \"끝내기\"를 클릭하거나 F3 key를 누른십시오."},
    {123, "설치를 취소 하시겠습니까?"}, {124, "설치를 종료 하시겠습니까?"},
    {125, "디렉토리를 만들수 없습니다.\n"},
    {126, "전체경로를 입력하세요 "}, {128, "삽입하세요 "},
    {129, " 디스크 드라이브에 넣으세요."},
    {131, "정보화일을 읽을수 없습니다."},
    {132, " 찾을수 없습니다."},
    {133, "메모리부족. 설치프로그램 실행불가."},
    {134, "설치관리자가 이미 실행중입니다."},
    {135, "이드라이버는 현재윈도우에서 사용중이기 때문에 설치를 할 수없습니다.\n\n"},
    {137, "윈도우가 드라이브 사용을 마칠때까지 기다리거나 드라이버에의해 사용중인 응용프로그램을 "
          "닫은 후 다시하세요."},
    {139, "프린터 드라이버 설치하겠습니까?\n"},
    {142, "데모화일를 설치하겠습니까?"},
    {143, "트루타입 호환 폰트를 설치하겠습니까?\n"},
    {144, " 이미존재합니다.\n 바꾸시겠습니까?\n     "},
    {145, "     버젼.  "}, {146, "\n 의  :\n     "},
    {148, "이프로그램은 디스크 공간이 필요합니다 "},
    {149, " KB 디스크공간. 프로그램을 설치할 충분한 공간이 있는지 확인하세요."},
    {150, "드라이브 "},
    {151, " 유효하지 않은 디스크 드라이브입니다"},
    {152, " 읽기 전용 디스크 드라이브 입니다"},
    {153, "%s 드라이버 설치에 실패했습니다."},
    {156, "%s 드라이버 설치를 마쳤습니다."},
    {157, "SYSTEM.INI화일이 변경되었습니다.\n 백업화일은 %s로 저장되었습니다."},
    {158, "WIN.INI화일이 변경되었습니다.\n 백업화일은 %s로 저장되었습니다."},
    {159, "복사 중..."}, {161, "드라이버 설치"}, {162, "주의"}, {163, "경고"}, {164, "질의 응답"},
    {170, " 확인하세요.\n디스크가 차지않았거나 쓰기방지로 되어 있는지.\n 설치프로그램을 "
          "작동시키기에 충분한 메모리 입니다."},
    {171, "프로그램을 작동시킬수 없습니다."},
    {175, "600dpi 인쇄시에는 6MB 또는 그이상의 메모리가 필요합니다."},
    {176, "프린터에 충분한 메모리가 없이 600dpi 드라이버를 사용하면,\n"},
    {177, "부정확한 프린트 출력이 될수 있습니다.\n\n"},
    {182, "%s 폰트가 이미 설치되어 있습니다.\n 새 버젼을 설치하려면 구 버젼를 삭제하세요."},
    {183, "트루타입 호환폰트 설치중"},
    {184, "경로가 존재하지 않습니다. 경로가 올바른지 확인하여 주세요."},
    {185, "트루타입 호환폰트가 발견되지 않습니다.경로와 화일명이 올바른지 확인하여 주세요."},
    {186, "확인"}, {187, "취소"},
    {188, "설치시 어떠한 언어를 사용하시겠습니까?"},
    {189, "언어선택"}, {190, "설치[&I]"}, {191, "프린터 목록[&L]"},
    {192, "설치하기 원하는 드라이브를 선택하세요."},
    {193, "드라이브 선택"},
    {194, "설치된 디렉토리를 입력하세요."},
    {195, "설치장소:"},
    {196, "원하는 폰트를 선택하세요. 반전된 폰트가 설치되어 질것입니다."},
    {197, "폰트리스트:[&F]"}, {198, "드라이브:"}, {199, "요구되는 디스크 공간:"},
    {200, "사용할수있는 디스크 공간:"}, {201, "계속[&C]"}, {202, "나가기[&E]"}, {203, "도움말[&H]"},
    {204, "디스크 공간이 부족합니다."},
    {205, "아래 절차중 하나를 사용하세요."},
    {206, "\"드라이브 변경\"을 클릭,다른 드라이브 선택"},
    {207, "\"폰트변경\"을 클릭, 폰트의 수를 줄입니다"},
    {208, "\"끝내기\"를 클릭, 드라이브에 공간을 만듬"},
    {209, "폰트변경[&F]"}, {210, "드라이브 변경[&D]"}, {211, "확인 중"},
    {212, "WIN.INI와 SYSTEM.INI화일을 확인중.\n이절차는 수 분 정도가 걸립니다.\n 잠시 기다리세요."},
    {213, "윈도우 재시작"}, {214, "현재 윈도우로 돌아갑니다."},
    {215, "윈도우를 재시작해야 설치된 프로그램이 유효하게 됩니다 !!"},
    {216, "버젼 확인"}, {217, "경로명을 선택하세요"},
    {218, "디렉토리에 화일이 이미 존재합니다."},
    {219, "현재있는 화일을 교환하시겠습니까?"},
    {220, "예[&Y]"}, {221, "모두 예[&A]"}, {222, "아니오[&N]"}, {223, "화일을 교환 확인"},
    {224, "드라이버가 이미 설치되어 있습니다. 기재된 이름사용 또는 입력할수 있습니다."},
    {225, "프린터 명:"}, {226, "드라이버 설치"},
    {227, "트루타입 폰트화일이 발견 되지않습니다"},
    {228, "텔모라 드라이버 설치 디스크를 선택된 드라이브에 넣습니다."},
    {229, "텔모라 프린터화일을 복사합니다:"},
};
// clang-format on

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string input(text);
    std::string output(input.size() * 4 + 16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    output.resize(output.size() - outLeft);
    return output;
}

TEST(StringTable, FixedTextsAreStoredExactlyInCodePage949) {
    for (const auto& [id, utf8] : kFixedTexts) {
        SCOPED_TRACE(id);
        const auto expected = Convert(utf8, "UTF-8", "CP949");
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(LookupString(id), *expected);
    }
}

TEST(StringTable, EveryTextIsWellFormedCodePage949) {
    for (unsigned id : StringTableIds()) {
        SCOPED_TRACE(id);
        const std::string_view text = *LookupString(id);
        const auto utf8 = Convert(text, "CP949", "UTF-8");
        ASSERT_TRUE(utf8.has_value()) << "not CP949";
        EXPECT_EQ(Convert(*utf8, "UTF-8", "CP949"), std::string(text));
    }
}

// Byte sequences derived independently (printf '%s' TEXT | iconv -f UTF-8 -t CP949 | xxd): a lost
// blank, a broken line break or quote, or a wrong encoding shows here byte by byte.
TEST(StringTable, KeepsBlanksLineBreaksAndQuotesByteForByte) {
    // Leading blank: the text follows a file name.
    EXPECT_EQ(LookupString(132), "\x20\xc3\xa3\xc0\xbb\xbc\xf6\x20\xbe\xf8\xbd\xc0\xb4\xcf\xb4\xd9"
                                 "\x2e"sv);
    // Quotes that belong to the text and a closing line break.
    EXPECT_EQ(LookupString(119), "\xbc\xb3\xc4\xa1\xb8\xa6\x20\xc3\xeb\xbc\xd2\xc7\xcf\xb7\xc1\xb8"
                                 "\xe9\x20\x22\xb3\xa1\xb3\xbb\xb1\xe2\x22\xb8\xa6\x20\xc5\xac\xb8"
                                 "\xaf\xc7\xcf\xbc\xbc\xbf\xe4\x2e\x0a"sv);
    // Line breaks inside and five trailing blanks that indent what is appended.
    EXPECT_EQ(LookupString(144), "\x20\xc0\xcc\xb9\xcc\xc1\xb8\xc0\xe7\xc7\xd5\xb4\xcf\xb4\xd9\x2e"
                                 "\x0a\x20\xb9\xd9\xb2\xd9\xbd\xc3\xb0\xda\xbd\xc0\xb4\xcf\xb1\xee"
                                 "\x3f\x0a\x20\x20\x20\x20\x20"sv);
    EXPECT_EQ(LookupString(163), "\xb0\xe6\xb0\xed"sv);
}

TEST(StringTable, RestartDialogTextIsShortEnoughForTheNarrowLayout) {
    // The restart dialog keeps its two buttons side by side only while this text has at most
    // 26 bytes.
    EXPECT_EQ(LookupString(214), "\xc7\xf6\xc0\xe7\x20\xc0\xa9\xb5\xb5\xbf\xec\xb7\xce\x20\xb5\xb9"
                                 "\xbe\xc6\xb0\xa9\xb4\xcf\xb4\xd9\x2e"sv);
    EXPECT_EQ(LookupString(214)->size(), 25u);
}

TEST(StringTable, EmptyTextsArePresentAndMissingOnesAreNone) {
    for (unsigned id : {121u, 122u, 147u}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(LookupString(id).has_value());
        EXPECT_EQ(*LookupString(id), "");
    }
    for (unsigned id :
         {0u, 10u, 35u, 41u, 53u, 77u, 100u, 127u, 136u, 234u, 65535u, 65536u, 4294967295u}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(LookupString(id), std::nullopt);
        EXPECT_EQ(LookupStringBytes(id), std::nullopt);
    }
}

TEST(StringTable, FrenchNameReadsUpToItsNul) {
    EXPECT_EQ(LookupString(61), "&Fran");
    EXPECT_EQ(LookupStringBytes(61), "&Fran\0ais"sv);
    EXPECT_EQ(LookupStringBytes(60), "&English");
}

TEST(StringTable, DiskSectionsFollowTheirNumbers) {
    for (unsigned disk = 1; disk <= 9; ++disk) {
        EXPECT_EQ(LookupString(41 + disk), "DISK" + std::to_string(disk));
    }
}

TEST(StringTable, LanguageCodesAndNamesComeInNinePairs) {
    for (unsigned k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        const auto code = LookupString(26 + k);
        const auto name = LookupString(60 + k);
        ASSERT_TRUE(code && name);
        EXPECT_EQ(code->size(), 3u);
        // A radio-button label with one mnemonic, in a 32-byte table entry.
        EXPECT_EQ(std::count(name->begin(), name->end(), '&'), 1);
        EXPECT_LT(LookupStringBytes(60 + k)->size(), 32u);
    }
}

TEST(StringTable, HoldsExactlyTheFixedTextsAndItsOwnWording) {
    std::vector<unsigned> expected;
    for (const auto& entry : kFixedTexts) {
        expected.push_back(entry.first);
    }
    // DISK1 to DISK9, the three empty texts, the restart notice for the port driver and the
    // directions for adding the printer through the system's own wizard.
    for (unsigned id : {42u, 43u, 44u, 45u, 46u, 47u, 48u, 49u, 50u, 121u, 122u, 147u, 165u, 166u,
                        167u, 178u, 179u, 180u, 181u}) {
        expected.push_back(id);
    }
    // The removal program's question, report and captions.
    for (unsigned id = 300; id <= 313; ++id) {
        expected.push_back(id);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(StringTableIds(), expected);
}

std::size_t JoinedLength(std::initializer_list<unsigned> ids) {
    std::size_t length = 0;
    for (unsigned id : ids) {
        length += LookupString(id).value_or("").size();
    }
    return length;
}

// Every text is loaded into a 256-byte buffer, and some are joined or formatted into fixed
// buffers: a text too long would be cut or overrun its buffer.
TEST(StringTable, TextsFitTheBuffersTheyAreShownFrom) {
    for (unsigned id : StringTableIds()) {
        EXPECT_LE(LookupStringBytes(id)->size(), 255u) << id;
    }
    EXPECT_LT(LookupString(133)->size(), 128u); // the system-modal memory message
    EXPECT_LT(JoinedLength({115, 116, 117, 118, 119, 120, 121, 122}), 2048u); // font help
    EXPECT_LT(JoinedLength({165, 166, 167}), 256u);       // restart notice for the port driver
    EXPECT_LT(JoinedLength({178, 179, 180, 181}), 2048u); // adding the printer by hand
    EXPECT_GT(JoinedLength({165, 166, 167}), 0u);
    EXPECT_GT(JoinedLength({178, 179, 180, 181}), 0u);
}

// Texts are used as printf formats with one text argument, or shown as they are: any other "%"
// would read an argument that is not there.
TEST(StringTable, FormatDirectivesAreSingleTextPlaceholders) {
    for (unsigned id : StringTableIds()) {
        const std::string_view text = *LookupString(id);
        std::size_t directives = 0;
        for (std::size_t at = text.find('%'); at != std::string_view::npos;
             at = text.find('%', at + 1)) {
            EXPECT_EQ(text.substr(at, 2), "%s") << id;
            ++directives;
        }
        EXPECT_LE(directives, 1u) << id;
    }
    EXPECT_NE(LookupString(156)->find("%s"), std::string_view::npos);
}

TEST(StringTable, LoadStringIntoCopiesLikeTheSystemLoader) {
    char buffer[256];
    EXPECT_EQ(LoadStringInto(214, buffer), 25u);
    EXPECT_EQ(std::string_view(buffer), *LookupString(214));

    EXPECT_EQ(LoadStringInto(61, buffer), 5u);
    EXPECT_EQ(std::string_view(buffer), "&Fran");

    EXPECT_EQ(LoadStringInto(100, buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');

    // Room for three bytes: the first two-byte character fits, half of the second would not.
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(LoadStringInto(163, small), 2u);
    EXPECT_EQ(std::string_view(small), "\xb0\xe6"sv);

    char one[1] = {'x'};
    EXPECT_EQ(LoadStringInto(163, one), 0u);
    EXPECT_EQ(one[0], '\0');

    EXPECT_EQ(LoadStringInto(163, std::span<char>{}), 0u);

    char ascii[4];
    EXPECT_EQ(LoadStringInto(11, ascii), 3u);
    EXPECT_EQ(std::string_view(ascii), "INS");
}

} // namespace
} // namespace tl
