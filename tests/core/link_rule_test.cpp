// Which reparse points a walk treats as links, with the tags Windows really uses.
#include "core/link_rule.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr std::uint32_t kFolder = 0x10;
constexpr std::uint32_t kFile = 0x20;
constexpr std::uint32_t kReparse = 0x400;

struct TagCase {
    const char* what;
    std::uint32_t attributes;
    std::uint32_t tag;
    bool link;
};

const TagCase kCases[] = {
    {"plain folder", kFolder, 0, false},
    {"plain file, stray tag bits ignored", kFile, 0xA000000C, false},
    {"junction (mount point)", kFolder | kReparse, 0xA0000003, true},
    {"symbolic link to a folder", kFolder | kReparse, 0xA000000C, true},
    {"symbolic link to a file", kFile | kReparse, 0xA000000C, true},
    {"WSL symbolic link", kFile | kReparse, 0xA000001D, true},
    {"container link", kFolder | kReparse, 0xA0001027, true},
    {"tag unread, as Wine reports a host link", kFolder | kReparse, 0, true},
    {"cloud files folder", kFolder | kReparse, 0x9000001A, false},
    {"cloud files folder, provider variant", kFolder | kReparse, 0x9000701A, false},
    {"cloud placeholder file", kFile | kReparse, 0x9000F01A, false},
    {"older cloud folder tag", kFolder | kReparse, 0x80000021, false},
    {"projected file system folder", kFolder | kReparse, 0x9000001C, false},
    {"deduplicated file", kFile | kReparse, 0x80000013, false},
    {"compressed (overlay) file", kFile | kReparse, 0x80000017, false},
    {"app execution alias", kFile | kReparse, 0x8000001B, false},
};

TEST(LinkRule, ReparseTagsOfLinksAndOfFoldersThatAreNone)
{
    for (const TagCase& c : kCases) {
        EXPECT_EQ(gls::countsAsLink(c.attributes, c.tag), c.link) << c.what;
    }
}

} // namespace
