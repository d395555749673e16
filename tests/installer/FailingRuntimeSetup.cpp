// A media runtime setup that fails without a word: it ends at once with exit code 1. The
// setup tests put it into a distribution folder in place of dxmedia.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int /*nCmdShow*/)
{
    return 1;
}
