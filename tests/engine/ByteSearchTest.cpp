#include "engine/ByteSearch.h"
#include "engine/ScriptCode.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>


TEST(ByteSearch, FindsTheFirstByteAtEveryPlaceAndLength)
{
    // The search goes sixteen bytes at a time and finishes byte by byte: the
    // first occurrence must be found on either side of a block's edge, a
    // later one must not hide it, and bytes after the end must not count.
    const auto reference = [](const char* p, std::size_t n) {
        const void* hit = std::memchr(p, '"', n);
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : n;
    };
    for (std::size_t at = 0; at < 50; ++at) {
        std::string s(80, 'a');
        s[at] = '"';
        s[50] = '"';
        for (std::size_t from = 0; from < 3; ++from) {
            for (std::size_t n = 0; n + from <= 60; ++n)
                ASSERT_EQ(FindByte(s.data() + from, n, '"'), reference(s.data() + from, n))
                    << at << " " << from << " " << n;
        }
    }
}

TEST(ByteSearch, APlainRunEndsAtTheFirstByteItsKindLeavesOut)
{
    // Each kind of run against a byte-by-byte reading of its rule, with the
    // byte that ends it at every place, before a block's edge and after it.
    const auto reference = [](const char* p, std::size_t n, PlainRun kind) {
        for (std::size_t i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(p[i]);
            if (b == '"' || b == '&' || b == '\\')
                return i;
            if (kind != PlainRun::AnyByte && b >= 0x80)
                return i;
            if (kind == PlainRun::Printable && b < ' ')
                return i;
        }
        return n;
    };
    const auto run = [](const char* p, std::size_t n, PlainRun kind) {
        switch (kind) {
        case PlainRun::AnyByte:
            return PlainRunEnd<PlainRun::AnyByte>(p, n);
        case PlainRun::Ascii:
            return PlainRunEnd<PlainRun::Ascii>(p, n);
        case PlainRun::Printable:
            return PlainRunEnd<PlainRun::Printable>(p, n);
        }
        return n;
    };
    for (const char ender : {'"', '&', '\\', '\t', '\x7f', '\x80', '\xff', '\0', ' '}) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::string s(48, 'a');
            s[at] = ender;
            for (const PlainRun kind : {PlainRun::AnyByte, PlainRun::Ascii, PlainRun::Printable}) {
                for (std::size_t n = 0; n <= s.size(); ++n)
                    ASSERT_EQ(run(s.data(), n, kind), reference(s.data(), n, kind))
                        << int(static_cast<unsigned char>(ender)) << " " << at << " " << n;
            }
        }
    }
}

TEST(ByteSearch, ATrimmedLineLosesItsBlanksAtBothEndsAtEveryLength)
{
    // Blanks, tabs and carriage returns on either side of a word, at every
    // length around the sixteen bytes tested at once, and lines all blank.
    const auto reference = [](std::string_view line) {
        const std::size_t begin = line.find_first_not_of(" \t\r");
        if (begin == std::string_view::npos)
            return std::string_view();
        return line.substr(begin, line.find_last_not_of(" \t\r") - begin + 1);
    };
    const std::string blanks = " \t\r";
    for (std::size_t lead = 0; lead < 40; ++lead) {
        for (std::size_t word = 0; word < 20; ++word) {
            for (std::size_t trail = 0; trail < 40; trail += 3) {
                std::string line;
                for (std::size_t i = 0; i < lead; ++i)
                    line += blanks[i % 3];
                line += std::string(word, 'x');
                if (word > 2)
                    line[lead + 1] = ' '; // a blank inside stays
                for (std::size_t i = 0; i < trail; ++i)
                    line += blanks[(i + 1) % 3];
                ASSERT_EQ(TrimmedLine(line), reference(line)) << lead << " " << word << " " << trail;
            }
        }
    }
}
