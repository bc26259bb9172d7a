// The time prefix of a log line.
#include "core/log_prefix.h"

#include <gtest/gtest.h>

TEST(LogPrefix, SecondsWithTwoDecimalsPaddedToSix)
{
    EXPECT_EQ(gls::logPrefix(0), L"[  0.00] ");
    EXPECT_EQ(gls::logPrefix(75500), L"[ 75.50] ");
    EXPECT_EQ(gls::logPrefix(12340), L"[ 12.34] ");
    EXPECT_EQ(gls::logPrefix(1234560), L"[1234.56] ");
}
