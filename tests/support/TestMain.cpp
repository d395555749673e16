// Entry point of every test program: the tests run on a COM apartment thread, as the
// player's user-interface thread does.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    CoInitialize(nullptr);
    int nResult = RUN_ALL_TESTS();
    CoUninitialize();
    return nResult;
}
