// The payload as the program carries it: its own, the listing of another program file, and
// names turned into paths.
#include "payload/payload.h"
#include "payload/payload_name.h"
#include "product_names.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using gls::PayloadEntry;

TEST(PayloadReader, ProgramWithoutTheResourceHasNoPayload)
{
    // This test program carries no archive.
    gls::Checked<gls::Payload> payload = gls::loadPayload();
    EXPECT_EQ(payload.problem, L"no payload");
    EXPECT_TRUE(payload.value.entries.empty());
}

TEST(PayloadReader, ListsTheBuiltSetupsPayload)
{
    std::vector<PayloadEntry> listed = gls::listPayloadOf(gls::test::setupExePath());
    ASSERT_EQ(listed.size(), 10u);
    EXPECT_EQ(listed[0].name, gls::test::kAppPayloadName);
    EXPECT_EQ(listed[9].name, "so_hook.dll");
    std::uint64_t appSize = std::filesystem::file_size(gls::test::standInExe());
    EXPECT_EQ(listed[0].size, appSize);
    for (const PayloadEntry& e : listed) EXPECT_EQ(e.data, nullptr) << e.name;
}

TEST(PayloadReader, ListingFailuresAreEmpty)
{
    gls::test::TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"notes.exe", "not a program"));
    EXPECT_TRUE(gls::listPayloadOf(folder / L"missing.exe").empty());
    EXPECT_TRUE(gls::listPayloadOf(folder / L"notes.exe").empty());
    EXPECT_TRUE(gls::listPayloadOf(gls::test::standInExe()).empty());
}

TEST(PayloadNames, BecomePathsOnlyWhenAllowedAndValidUtf8)
{
    EXPECT_EQ(gls::pathFromPayloadName("live/Glimmerline/__init__.py"), L"live/Glimmerline/__init__.py");
    EXPECT_EQ(gls::pathFromPayloadName("m4l/caf\xC3\xA9 \xF0\x9F\x8E\xB5.amxd"), L"m4l/caf\u00e9 \U0001F3B5.amxd");
    EXPECT_EQ(gls::pathFromPayloadName("caf\xE9.txt"), L"");     // Latin-1, not UTF-8
    EXPECT_EQ(gls::pathFromPayloadName("\xED\xA0\x80.txt"), L""); // an encoded surrogate
    EXPECT_EQ(gls::pathFromPayloadName("../up.txt"), L"");
    EXPECT_EQ(gls::pathFromPayloadName(""), L"");
}
