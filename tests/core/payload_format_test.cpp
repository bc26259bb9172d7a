// The archive layout the packer writes: checksum, sorted index, contiguous data, refused names.
#include "core/payload_checksum.h"
#include "core/payload_path.h"
#include "tools/payload_writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::uint64_t u64At(const std::vector<unsigned char>& b, size_t at)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

std::uint32_t u32At(const std::vector<unsigned char>& b, size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

std::vector<unsigned char> bytes(const std::string& s) { return {s.begin(), s.end()}; }

} // namespace

TEST(PayloadChecksum, KnownValues)
{
    const unsigned char abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(gls::payloadChecksum(abc, 3), 0xE16801510DB89EFDull);
    EXPECT_EQ(gls::payloadChecksum(abc, 0), 0x14650FB0739D0383ull);
    // Continuing over pieces gives the same as one pass.
    EXPECT_EQ(gls::payloadChecksum(abc + 1, 2, gls::payloadChecksum(abc, 1)), 0xE16801510DB89EFDull);
}

TEST(PayloadWriter, HeaderOnlyArchive)
{
    std::vector<unsigned char> a = gls::buildPayloadArchive({});
    ASSERT_EQ(a.size(), 24u);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "GLP1");
    EXPECT_EQ(u32At(a, 4), 0u);
    EXPECT_EQ(u64At(a, 8), 0u);
    EXPECT_EQ(u64At(a, 16), 0x14650FB0739D0383ull);
}

TEST(PayloadWriter, SortsByBytesAndLaysContentsOutInIndexOrder)
{
    std::vector<unsigned char> a = gls::buildPayloadArchive({
        {"b.txt", bytes("BB")},
        {"a/x.bin", bytes("")},
        {"README.txt", bytes("readme")},
    });
    ASSERT_EQ(u32At(a, 4), 3u);
    EXPECT_EQ(u64At(a, 8), 8u); // the sum of the sizes
    EXPECT_EQ(u64At(a, 16), gls::payloadChecksum(a.data() + 24, a.size() - 24));

    // Upper case sorts before lower case.
    const char* order[] = {"README.txt", "a/x.bin", "b.txt"};
    const std::uint64_t sizes[] = {6, 0, 2};
    const std::uint64_t offsets[] = {0, 6, 6};
    size_t cursor = 24;
    for (int i = 0; i < 3; ++i) {
        std::uint32_t nameLength = u32At(a, cursor);
        EXPECT_EQ(u64At(a, cursor + 4), sizes[i]);
        EXPECT_EQ(u64At(a, cursor + 12), offsets[i]);
        EXPECT_EQ(std::string(a.begin() + cursor + 20, a.begin() + cursor + 20 + nameLength), order[i]);
        cursor += 20 + nameLength;
    }
    EXPECT_EQ(std::string(a.begin() + cursor, a.end()), "readmeBB");
}

TEST(PayloadPathRule, RefusedAndAcceptedNames)
{
    const std::string refused[] = {
        "", "/abs", "dir/", "a//b", "./a", "a/../b", "..", "a/b.", "a/b ", "c:d", "a\\b", "a\tb",
        "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", std::string(401, 'n'), std::string("a\0b", 3),
        // Windows device names, with any extension and in any folder.
        "CON", "nul.txt", "live/Aux.py", "com1.log", "LPT9", "COM0", "prn.tar.gz", "con .txt", "COM\xC2\xB9",
        "lpt\xC2\xB3.txt", "CONOUT$", "conin$.x",
    };
    for (const std::string& name : refused) EXPECT_FALSE(gls::isAllowedPayloadPath(name)) << name;

    const std::string accepted[] = {
        std::string(400, 'n'), "live/Glimmerline/__init__.py", "m4l/Glimmerline Feed.amxd", "\xC3\xA9t\xC3\xA9.txt",
        ".hidden", "a..b", "Glimmerline.vst3/Contents/x86_64-win/Glimmerline.vst3",
        "CONSOLE.txt", "nully", "com10", "LPT.txt", "auxiliary/x", "a/CONx", "COM\xC2\xB4", "x.nul",
    };
    for (const std::string& name : accepted) EXPECT_TRUE(gls::isAllowedPayloadPath(name)) << name;
}

TEST(PayloadWriter, NamesThePackerRefuses)
{
    EXPECT_EQ(gls::packNameProblem("ok/name.txt"), "");
    EXPECT_NE(gls::packNameProblem("bad:name"), "");
    EXPECT_NE(gls::packNameProblem("\xC3"), "");         // cut-short sequence
    EXPECT_NE(gls::packNameProblem("\xC0\xAF"), "");     // overlong form
    EXPECT_NE(gls::packNameProblem("\xED\xA0\x80"), ""); // surrogate
    EXPECT_EQ(gls::packNameProblem("\xF0\x9F\x8E\xB5.txt"), "");
    // Names the setup keeps for itself, in any case, and names too long for the longest folder.
    for (const std::string& name : std::vector<std::string>{"Uninstall.exe", "UNINSTALL.EXE/readme.txt", ".glsetup-new/a",
                                                             ".GlSetup-old-12", ".glsetup-probe", std::string(55, 'n'),
                                                             std::string(43, 'd') + "/x"}) {
        EXPECT_NE(gls::packNameProblem(name), "") << name;
    }
    for (const std::string& name :
         std::vector<std::string>{"docs/Uninstall.exe", "x.glsetup-new", ".glsetup", std::string(54, 'n'),
                                  std::string(42, 'd') + "/" + std::string(11, 'n')}) {
        EXPECT_EQ(gls::packNameProblem(name), "") << name;
    }
}
