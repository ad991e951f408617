// The same LAS file in any text encoding gives the same raw survey file, its
// names in UTF-8, wherever a character falls on the reader's block seams.
#include "convert/LasConverter.h"
#include "ConvertTestFiles.h"
#include "NamedRows.h"

#include <gtest/gtest.h>

using namespace convert;

namespace {

// UTF-8 text as UTF-16 code units of either byte order.
std::string Utf16(const std::string& utf8, bool littleEndian)
{
    std::string out;
    auto unit = [&](char32_t u) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        out += littleEndian ? std::string{low, high} : std::string{high, low};
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? b : b & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        i += static_cast<std::size_t>(length);
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

// A LAS file whose first curve name runs over `length` bytes of repeated
// `name`, so that its non-ASCII characters meet the reader's block seams.
std::string LasWithLongName(std::size_t length, const std::string& name)
{
    std::string first = name;
    while (first.size() < length)
        first += " " + name;
    return "~Version\n VERS. 2.0 :\n~Curve\n D.M : " + first + "\n T.\xC2\xB5T : " + name + "\n~A\n1 2\n3 4\n";
}

std::string Converted(const std::string& las)
{
    ScratchFolder folder;
    WriteFile(folder / "in.las", las);
    const ConvertResult result = ConvertLasFile(folder / "in.las", folder / "out.txt", {});
    EXPECT_TRUE(result.Ok()) << result.message;
    return ReadFile(folder / "out.txt");
}

struct EncodingRow {
    const char* name;
    std::string (*encode)(const std::string& utf8);
};

class Encoding : public ::testing::TestWithParam<EncodingRow> {};

TEST_P(Encoding, GivesTheRawSurveyFileOfTheUtf8Text)
{
    const std::string name = "Tiefe \xC2\xB5\xE2\x82\xAC\xF0\x9F\x98\x80"; // µ, €, and one beyond 16 bits
    for (const std::size_t length : {0u, 16380u, 16381u, 16382u, 16383u, 70000u}) {
        const std::string utf8 = LasWithLongName(length, name);
        EXPECT_TRUE(Converted(GetParam().encode(utf8)) == Converted(utf8)) << length;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Converter, Encoding,
    ::testing::Values(EncodingRow{"Utf8WithAByteOrderMark", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
                      EncodingRow{"Utf16LittleEndianWithAByteOrderMark",
                                  [](const std::string& t) { return "\xFF\xFE" + Utf16(t, true); }},
                      EncodingRow{"Utf16BigEndianWithAByteOrderMark",
                                  [](const std::string& t) { return "\xFE\xFF" + Utf16(t, false); }},
                      EncodingRow{"Utf16LittleEndianWithoutAMark", [](const std::string& t) { return Utf16(t, true); }},
                      EncodingRow{"Utf16BigEndianWithoutAMark", [](const std::string& t) { return Utf16(t, false); }}),
    RowName());

// Text that is not UTF-8 is Windows-1252: its names reach the raw survey
// file in UTF-8, a stray byte after valid UTF-8 as the same character.
TEST(Converter, SingleByteNamesAreWrittenInUtf8)
{
    EXPECT_NE(Converted("~C\nD.M : Tiefe \xB5m \x80\n~A\n1\n").find("Tiefe \xC2\xB5m \xE2\x82\xAC\r\n"), std::string::npos);
    const auto late = [](const std::string& e) {
        return "~C\n D.M : " + std::string(70000, 'a') + "\xC3\xA9\n T.M : caf" + e + "\n~A\n1 2\n";
    };
    EXPECT_TRUE(Converted(late("\xE9")) == Converted(late("\xC3\xA9")));
}

} // namespace
