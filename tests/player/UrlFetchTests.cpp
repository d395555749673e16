// The download's progress figure over the whole range of the URL service's counts, and the
// check that tells an address from a file.
#include <gtest/gtest.h>

#include <cstring>

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

// An address is told by its scheme; a path shorter than a scheme is read no further than
// its end, here the last bytes before a page that must not be touched.
TEST(UrlFetch, TheAddressCheckReadsNoFurtherThanThePath)
{
    BYTE* pPages = static_cast<BYTE*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT, PAGE_READWRITE));
    DWORD dwOld = 0;
    ASSERT_TRUE(pPages != nullptr && VirtualProtect(pPages + 4096, 4096, PAGE_NOACCESS, &dwOld));
    auto atTheEdge = [&](const char* pszPath) {
        const size_t cb = strlen(pszPath) + 1;
        return static_cast<const char*>(memcpy(pPages + 4096 - cb, pszPath, cb));
    };
    for (const char* pszPath : {"", "h", "http:/", "ftp:/", "httpx://a", "C:\\http://"})
        EXPECT_FALSE(IsMediaAddress(atTheEdge(pszPath))) << pszPath;
    for (const char* pszPath : {"HTTP://a", "ftp://", "https://x"})
        EXPECT_TRUE(IsMediaAddress(atTheEdge(pszPath))) << pszPath;
    VirtualFree(pPages, 0, MEM_RELEASE);
}
