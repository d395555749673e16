// dxmedia.exe: the media runtime's setup. It checks that the runtime works here (the
// filter graph manager can be created), records the client named after "-id:", and puts
// the removal tool into the system directory. Exit code 0 on success; otherwise it says
// why and exits with a code above zero.
#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <cstring>

#include "Holders.h"
#include "RuntimeClients.h"
#include "resource.h"

namespace {

enum ExitCode { EXIT_DONE = 0, EXIT_NO_DIRECTSHOW = 2, EXIT_NO_CLIENT = 3, EXIT_NOT_COPIED = 4 };

int Fail(UINT nTextId, int nExitCode)
{
    char szText[512] = "";
    char szCaption[128] = "";
    LoadStringA(GetModuleHandleA(nullptr), nTextId, szText, sizeof(szText));
    LoadStringA(GetModuleHandleA(nullptr), IDS_CAPTION, szCaption, sizeof(szCaption));
    MessageBoxA(nullptr, szText, szCaption, MB_OK | MB_ICONSTOP);
    return nExitCode;
}

bool FilterGraphAvailable()
{
    HRESULT hrInit = CoInitialize(nullptr);
    bool bAvailable = false;
    {
        CComPtr<IGraphBuilder> graph;
        bAvailable = SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                                IID_IGraphBuilder,
                                                reinterpret_cast<void**>(&graph)));
    }
    if (SUCCEEDED(hrInit))
        CoUninitialize();
    return bAvailable;
}

// The word after "-id:" on the command line.
bool ReadClientId(char* pszId, size_t cchId)
{
    const char* pszArg = std::strstr(GetCommandLineA(), "-id:");
    if (pszArg == nullptr)
        return false;
    pszArg += 4;
    size_t n = 0;
    while (pszArg[n] != '\0' && pszArg[n] != ' ' && pszArg[n] != '\t' && n + 1 < cchId) {
        pszId[n] = pszArg[n];
        ++n;
    }
    pszId[n] = '\0';
    return n > 0;
}

bool RecordClient(const char* pszId)
{
    CRegKeyHolder key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, RUNTIME_CLIENTS_KEY, 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const char szInstalled[] = "installed";
    return RegSetValueExA(key.Get(), pszId, 0, REG_SZ, reinterpret_cast<const BYTE*>(szInstalled),
                          sizeof(szInstalled)) == ERROR_SUCCESS;
}

// Copies the removal tool that lies beside this program into the system directory.
bool InstallRemovalTool()
{
    char szSource[MAX_PATH] = "";
    DWORD cch = GetModuleFileNameA(nullptr, szSource, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return false;
    char* pszSlash = std::strrchr(szSource, '\\');
    if (pszSlash == nullptr)
        return false;
    size_t cchDir = static_cast<size_t>(pszSlash - szSource) + 1;
    int n = std::snprintf(pszSlash + 1, MAX_PATH - cchDir, "%s", RUNTIME_REMOVAL_TOOL);
    if (n < 0 || static_cast<size_t>(n) >= MAX_PATH - cchDir)
        return false;

    char szSystem[MAX_PATH] = "";
    UINT cchSystem = GetSystemDirectoryA(szSystem, MAX_PATH);
    char szTarget[MAX_PATH] = "";
    n = std::snprintf(szTarget, sizeof(szTarget), "%s\\%s", szSystem, RUNTIME_REMOVAL_TOOL);
    if (cchSystem == 0 || cchSystem >= MAX_PATH || n < 0 || n >= MAX_PATH)
        return false;
    return CopyFileA(szSource, szTarget, FALSE) != FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int /*nCmdShow*/)
{
    if (!FilterGraphAvailable())
        return Fail(IDS_NO_DIRECTSHOW, EXIT_NO_DIRECTSHOW);
    char szClient[MAX_PATH];
    if (!ReadClientId(szClient, sizeof(szClient)) || !RecordClient(szClient))
        return Fail(IDS_NO_CLIENT, EXIT_NO_CLIENT);
    if (!InstallRemovalTool())
        return Fail(IDS_TOOL_NOT_COPIED, EXIT_NOT_COPIED);
    return EXIT_DONE;
}
