// purgedxm.exe: the media runtime's removal tool. Its command line is one client
// identifier; it removes that client's record, and the runtime's keys once no client is
// left. Always exits 0: a client that was never recorded has nothing to remove.
#include <windows.h>

#include <cstring>

#include "Holders.h"
#include "RuntimeClients.h"

namespace {

// The command line without surrounding blanks.
void ReadClientId(char* pszId, size_t cchId)
{
    const char* pszLine = GetCommandLineA();
    while (*pszLine == ' ' || *pszLine == '\t')
        ++pszLine;
    size_t n = 0;
    while (pszLine[n] != '\0' && n + 1 < cchId) {
        pszId[n] = pszLine[n];
        ++n;
    }
    while (n > 0 && (pszId[n - 1] == ' ' || pszId[n - 1] == '\t'))
        --n;
    pszId[n] = '\0';
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int /*nCmdShow*/)
{
    char szClient[MAX_PATH];
    ReadClientId(szClient, sizeof(szClient));
    if (szClient[0] == '\0')
        return 0;
    DWORD cValues = 1;
    DWORD cSubKeys = 1;
    {
        CRegKeyHolder key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, RUNTIME_CLIENTS_KEY, 0, KEY_ALL_ACCESS, &key) !=
            ERROR_SUCCESS)
            return 0;
        RegDeleteValueA(key.Get(), szClient);
        RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &cSubKeys, nullptr, nullptr,
                         &cValues, nullptr, nullptr, nullptr, nullptr);
    }
    if (cValues == 0 && cSubKeys == 0) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, RUNTIME_CLIENTS_KEY);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, RUNTIME_ROOT_KEY);
    }
    return 0;
}
