// The payload reader: every check in its order, entries pointing into the image, the listing of
// another program file, and names turned into paths.
#include "core/payload_archive.h"
#include "payload/payload.h"
#include "payload/payload_name.h"
#include "payload_samples.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

using gls::PayloadEntry;

TEST(PayloadReader, EdgeCaseArchivesGiveTheirErrors)
{
    for (const auto& sample : gls::test::payloadSamples()) {
        std::vector<PayloadEntry> entries = {{"stale", nullptr, 1}};
        std::string error = "stale";
        bool ok = gls::parsePayload(sample.image.data(), sample.image.size(), entries, error, true);
        EXPECT_EQ(ok, sample.error.empty()) << sample.label;
        EXPECT_EQ(error, sample.error) << sample.label;
        if (ok) {
            for (const PayloadEntry& e : entries) EXPECT_NE(e.name, "stale") << sample.label;
        }
    }
}

TEST(PayloadReader, EntriesPointIntoTheImage)
{
    std::vector<unsigned char> image = gls::test::payloadSamples()[1].image; // two files
    std::vector<PayloadEntry> entries;
    std::string error;
    ASSERT_TRUE(gls::parsePayload(image.data(), image.size(), entries, error, true)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "a.txt");
    EXPECT_EQ(entries[0].data, image.data() + 76);
    EXPECT_EQ(entries[0].size, 3u);
    EXPECT_EQ(entries[1].name, "b/c.bin");
    EXPECT_EQ(entries[1].data, image.data() + 79);
    EXPECT_EQ(std::string(entries[1].data, entries[1].data + entries[1].size), "xy");
}

TEST(PayloadReader, HeaderOnlyArchiveIsValidAndEmpty)
{
    std::vector<unsigned char> image = gls::test::payloadSamples()[0].image;
    ASSERT_EQ(image.size(), 24u);
    std::vector<PayloadEntry> entries;
    std::string error;
    EXPECT_TRUE(gls::parsePayload(image.data(), image.size(), entries, error, true));
    EXPECT_TRUE(entries.empty());
    // The start value stands in the checksum field: nothing is covered.
    gls::test::setU64(image, 16, 0);
    EXPECT_FALSE(gls::parsePayload(image.data(), image.size(), entries, error, true));
    EXPECT_EQ(error, "the payload's checksum does not match");
    EXPECT_TRUE(gls::parsePayload(image.data(), image.size(), entries, error, false));
}

TEST(PayloadReader, NullOrEmptyImageIsNoPayload)
{
    std::vector<PayloadEntry> entries;
    std::string error;
    EXPECT_FALSE(gls::parsePayload(nullptr, 0, entries, error, true));
    EXPECT_EQ(error, "no payload");
}

TEST(PayloadReader, ProgramWithoutTheResourceHasNoPayload)
{
    // This test program carries no archive.
    gls::Payload payload = gls::loadPayload();
    EXPECT_EQ(payload.error, "no payload");
    EXPECT_TRUE(payload.entries.empty());
}

TEST(PayloadReader, ListsTheBuiltSetupsPayload)
{
    std::vector<PayloadEntry> listed = gls::listPayloadOf(gls::test::setupExePath());
    ASSERT_EQ(listed.size(), 10u);
    EXPECT_EQ(listed[0].name, "Glimmerline.exe");
    EXPECT_EQ(listed[9].name, "so_hook.dll");
    std::uint64_t appSize = std::filesystem::file_size(gls::test::buildDir() + L"\\standin\\Glimmerline.exe");
    EXPECT_EQ(listed[0].size, appSize);
    for (const PayloadEntry& e : listed) EXPECT_EQ(e.data, nullptr) << e.name;
}

TEST(PayloadReader, ListingFailuresAreEmpty)
{
    gls::test::TestFolder folder;
    ASSERT_TRUE(gls::test::writeFile(folder / L"notes.exe", "not a program"));
    EXPECT_TRUE(gls::listPayloadOf(folder / L"missing.exe").empty());
    EXPECT_TRUE(gls::listPayloadOf(folder / L"notes.exe").empty());
    EXPECT_TRUE(gls::listPayloadOf(gls::test::buildDir() + L"\\standin\\Glimmerline.exe").empty());
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
