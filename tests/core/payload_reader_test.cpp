// The payload reader: every check in its order, and entries pointing into the image.
#include "core/payload_archive.h"
#include "payload_samples.h"

#include <gtest/gtest.h>

using gls::PayloadEntry;
using Parsed = gls::Checked<gls::Payload, std::string>;

TEST(PayloadReader, EdgeCaseArchivesGiveTheirErrors)
{
    for (const auto& sample : gls::test::payloadSamples()) {
        Parsed parsed = gls::parsePayload(sample.image.data(), sample.image.size(), true);
        EXPECT_EQ(parsed.problem, sample.error) << sample.label;
        if (!parsed.ok()) {
            EXPECT_TRUE(parsed.value.entries.empty()) << sample.label;
        }
    }
}

TEST(PayloadReader, EntriesPointIntoTheImage)
{
    std::vector<unsigned char> image = gls::test::payloadSamples()[1].image; // two files
    Parsed parsed = gls::parsePayload(image.data(), image.size(), true);
    ASSERT_TRUE(parsed.ok()) << parsed.problem;
    const std::vector<PayloadEntry>& entries = parsed.value.entries;
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
    Parsed parsed = gls::parsePayload(image.data(), image.size(), true);
    EXPECT_TRUE(parsed.ok());
    EXPECT_TRUE(parsed.value.entries.empty());
    // The start value stands in the checksum field: nothing is covered.
    gls::test::setU64(image, 16, 0);
    EXPECT_EQ(gls::parsePayload(image.data(), image.size(), true).problem, "the payload's checksum does not match");
    EXPECT_TRUE(gls::parsePayload(image.data(), image.size(), false).ok());
}

TEST(PayloadReader, NullOrEmptyImageIsNoPayload)
{
    EXPECT_EQ(gls::parsePayload(nullptr, 0, true).problem, "no payload");
}
