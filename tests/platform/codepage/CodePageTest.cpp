#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <random>
#include <thread>
#include <vector>

#include "platform/codepage/CodePage.h"
#include "platform/codepage/GbkConverter.h"

namespace lumetra::platform {
namespace {

std::u16string DecodeUtf8(std::string_view bytes) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    if (n > 0) {
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      out.data(), n),
                  n);
    }
    return out;
}

std::string EncodeGbk(std::u16string_view units) {
    const int m =
        WideCharToMultiByte(CP_GBK, 0, units.data(), static_cast<int>(units.size()), nullptr, 0);
    std::string out(static_cast<std::size_t>(m), '\0');
    if (m > 0) {
        EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, units.data(), static_cast<int>(units.size()),
                                      out.data(), m),
                  m);
    }
    return out;
}

TEST(MultiByteToWideChar, DecodesUtf8ReplacingEachMaximalInvalidSubpart) {
    const std::pair<std::string_view, std::u16string_view> cases[] = {
        {"abc", u"abc"},
        {"\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
        {"\x80", u"\uFFFD"},
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"x\xE4\xB8", u"x\uFFFD"},
        {"\xF0\x9F\x98", u"\uFFFD"},
        {"\xE4\xB8"
         "a",
         u"\uFFFDa"},
        {"\xE0\x80", u"\uFFFD\uFFFD"},
        {"\xC0\xAF", u"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(DecodeUtf8(bytes), expected) << "bytes=" << bytes;
    }
}

TEST(MultiByteToWideChar, DecodesCodePage936) {
    const std::pair<std::string_view, std::u16string_view> cases[] = {
        {"\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
        {"a\x81\x41", u"a\u4E04"},
        {"\x80", u"\u20AC"},
        {"A\x81", u"A\uFFFD"},
    };
    for (const auto& [bytes, expected] : cases) {
        const int n = MultiByteToWideChar(CP_GBK, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          nullptr, 0);
        std::u16string out(static_cast<std::size_t>(n), u'\0');
        ASSERT_EQ(MultiByteToWideChar(CP_GBK, 0, bytes.data(), static_cast<int>(bytes.size()),
                                      out.data(), n),
                  n);
        EXPECT_EQ(out, expected) << "bytes=" << bytes;
    }
}

TEST(WideCharToMultiByte, EncodesGbkWithQuestionMarkForWhatIsMissing) {
    const std::pair<std::u16string_view, std::string_view> cases[] = {
        {u"abc", "abc"},
        {std::u16string_view(u"\u4E2D\u6587\0", 3), std::string_view("\xD6\xD0\xCE\xC4\0", 5)},
        {u"\u20AC", "\x80"},
        {u"\u00B7", "\xA1\xA4"},
        {u"\U0001F600", "?"},
        {u"a\u0E01b", "a?b"},
        {u"a\u200B\u00ADb", "a??b"},
        {u"\uFFFD", "?"},
        {u"\xD83D", "?"},
        {u"\xDE00", "?"},
        {u"\xD83D"
         "A",
         "?A"},
        {u"\xD83D\xD83D\xDE00", "??"},
    };
    for (const auto& [units, expected] : cases) {
        EXPECT_EQ(EncodeGbk(units), expected);
    }
}

// The encoder works from a table; for every unit and any mixture, surrogates included, it
// must write what the ICU converter itself writes, and size it exactly.
std::string IcuEncode(std::u16string_view units) {
    UConverter* converter = detail::GbkConverter();
    std::string out(units.size() * 4 + 4, '\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length =
        ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()), units.data(),
                        static_cast<int32_t>(units.size()), &error);
    EXPECT_TRUE(U_SUCCESS(error));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

TEST(WideCharToMultiByte, AgreesWithTheIcuConverter) {
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        const std::u16string units(1, static_cast<char16_t>(unit));
        ASSERT_EQ(EncodeGbk(units), IcuEncode(units)) << "unit=" << static_cast<unsigned>(unit);
    }
    std::mt19937 random(11);
    const char16_t pool[] = {u'a',      u'\0',     u'\u4E2D', u'\u0E01', u'\u20AC', u'\uFFFD',
                             u'\xD83D', u'\xDE00', u'\xDBFF', u'\xDC00', u'\u3000', u'\u200B'};
    for (int round = 0; round < 5000; ++round) {
        // long ASCII stretches too, so the blocks of ASCII units meet every kind of unit
        std::u16string units(1 + random() % 40, u'a');
        for (char16_t& u : units) {
            u = random() % 4 != 0 ? u'x' : pool[random() % std::size(pool)];
        }
        const std::string expected = IcuEncode(units);
        ASSERT_EQ(EncodeGbk(units), expected);
        if (expected.size() < 2) {
            continue;  // a capacity of 0 asks for the size
        }
        std::string shortBuffer(expected.size(), '\0');
        ASSERT_EQ(WideCharToMultiByte(CP_GBK, 0, units.data(), static_cast<int>(units.size()),
                                      shortBuffer.data(), static_cast<int>(expected.size()) - 1),
                  0);
    }
}

// Valid UTF-8 is decoded and counted without ICU; both must agree with ICU's decoding, and
// a buffer one unit short must fail, wherever the ASCII blocks happen to end.
TEST(MultiByteToWideChar, Utf8DecodingAgreesWithIcu) {
    const std::string_view pieces[] = {"abcdefghij",
                                       "a",
                                       "0123456789abcdefghijklmnopq",
                                       "\xE4\xB8\xAD",
                                       "\xC3\xA9",
                                       "\xF0\x9F\x98\x80",
                                       "\xE0\xA0\x80",
                                       "\xED\x9F\xBF",
                                       "\xF4\x8F\xBF\xBF",
                                       "\xE0\x80",
                                       "\xED\xA0\x80",
                                       "\xF4\x90",
                                       "\xC0",
                                       "\xC1\xBF",
                                       "\x80",
                                       "\xFF",
                                       "\xE4\xB8",
                                       "\xF5\x80\x80\x80"};
    std::mt19937 random(5);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const std::size_t count = 1 + random() % 8;
        // most rounds valid only, so our own decoding is taken, not just the fallback
        const std::size_t choices = round % 3 != 0 ? 9 : std::size(pieces);
        for (std::size_t k = 0; k < count; ++k) {
            bytes += pieces[random() % choices];
        }
        const auto size = static_cast<int32_t>(bytes.size());
        std::u16string expected(bytes.size() + 1, u'\0');
        int32_t length = 0;
        UErrorCode error = U_ZERO_ERROR;
        u_strFromUTF8WithSub(expected.data(), static_cast<int32_t>(expected.size()), &length,
                             bytes.data(), size, 0xFFFD, nullptr, &error);
        ASSERT_TRUE(U_SUCCESS(error));
        expected.resize(static_cast<std::size_t>(length));
        ASSERT_EQ(DecodeUtf8(bytes), expected) << "bytes=" << bytes;
        if (length < 2) {
            continue;  // a capacity of 0 asks for the size
        }
        std::u16string shortBuffer(expected.size(), u'\0');
        ASSERT_EQ(
            MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, shortBuffer.data(), length - 1), 0)
            << "bytes=" << bytes;
    }
}

TEST(CodePageFunctions, ReturnZeroForBadArgumentsAndShortBuffers) {
    char16_t units[8] = {};
    char bytes[8] = {};
    const char* utf8 =
        "\xE4\xB8\xAD"
        "ab";  // 3 units
    const char16_t* wide =
        u"\u4E2D"
        "ab";  // 4 bytes
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 5, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 5, units, 3), 3);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 5, units, 2), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 0, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 5, units, -1), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, utf8, 5, nullptr, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, 5, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 1, utf8, 5, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, utf8, 5, nullptr, 0), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_GBK, 0, "\xD6\xD0", 2, units, 0), 1);

    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, 3, nullptr, 0), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, 3, bytes, 4), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, 3, bytes, 3), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, 0, nullptr, 0), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, -2, nullptr, 0), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, 3, bytes, -1), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, wide, 3, nullptr, 4), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 0, nullptr, 3, nullptr, 0), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, 3, nullptr, 0), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_GBK, 1, wide, 3, nullptr, 0), 0);
}

TEST(Conveniences, ConvertWholeStrings) {
    EXPECT_EQ(GbkToUtf16(""), u"");
    EXPECT_EQ(GbkToUtf16("a\xD6\xD0"), u"a\u4E2D");
    EXPECT_EQ(Utf16ToGbk(u""), "");
    EXPECT_EQ(Utf16ToGbk(u"\u4E2D\U0001F600"), "\xD6\xD0?");
    EXPECT_EQ(Utf8ToUtf16(""), u"");
    EXPECT_EQ(Utf8ToUtf16("\xE4\xB8\xAD\xF0\x9F\x98\x80\xFF"), u"\u4E2D\U0001F600\uFFFD");
    const std::string gbk = "GET \xD6\xD0\xCE\xC4 \xA1\xA1\x80";
    EXPECT_EQ(Utf16ToGbk(GbkToUtf16(gbk)), gbk);
}

// One converter per thread: concurrent conversions must not disturb each other.
TEST(Conveniences, ConvertOnSeveralThreadsAtOnce) {
    std::string gbk;
    for (int i = 0; i < 2000; ++i) {
        gbk += "ab\xD6\xD0\xCE\xC4";
    }
    const std::u16string wide = GbkToUtf16(gbk);
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                failures[static_cast<std::size_t>(t)] +=
                    (GbkToUtf16(gbk) != wide) + (Utf16ToGbk(wide) != gbk);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace lumetra::platform
