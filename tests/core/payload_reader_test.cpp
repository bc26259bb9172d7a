// The payload reader: every check in its order, and entries pointing into the image.
#include "core/payload_archive.h"
#include "payload_samples.h"

#include <gtest/gtest.h>

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
