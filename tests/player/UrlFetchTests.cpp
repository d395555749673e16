// The download's progress figure over the whole range of the URL service's counts.
#include <gtest/gtest.h>

#include "UrlFetch.h"

TEST(UrlFetch, TheProgressPercentageHoldsForMediaAbove2GiB)
{
    struct Row {
        ULONG ulProgress, ulMax;
        int nPercent;
    } rows[] = {
        {0, 1000, 0},
        {500, 1000, 50},
        {1, 3, 33},
        {0xC0000000ul, 0xFFFFFFFFul, 75},   // 3 GiB of 4 GiB
        {0x80000000ul, 0x80000001ul, 99},   // just past 2 GiB, nearly done
        {0xFFFFFFFFul, 0xFFFFFFFFul, 100},
        {2000, 1000, 100},                  // the service may report past its estimate
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.ulProgress << " of " << row.ulMax);
        EXPECT_EQ(DownloadPercent(row.ulProgress, row.ulMax), row.nPercent);
    }
}
