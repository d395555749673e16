#include "InstallFixture.h"

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>

#include "DefSetting.h"
#include "Holders.h"
#include "InstallLayout.h"
#include "ShellFolders.h"
#include "TestEnv.h"
#include "resource.h"

#ifndef TANDREL_DIST_DIR
#error "the build passes the distribution folder"
#endif
#ifndef TANDREL_GOLDEN_DIR
#error "the build passes the golden folder"
#endif

const char kDefaultInstallDir[] = "C:\\Program Files\\Tandrel98";
const char* const kMainFiles[3] = {"Tandrel98.exe", "vost.mpg", "readme.txt"};
const char* const kHelpFiles[12] = {
    "Uninstall.exe", "Demo.html",      "shuttle.gif",    "flag.gif",
    "intro.gif",     "nbar.gif",       "group.gif",      "ctrl.video.gif",
    "ctrl.media.gif", "ctrl.audio.gif", "ctrl.info.gif", "Get_It_Now.gif"};

std::string WindowsPath(const char* pszUnixPath)
{
    std::string path = std::string("Z:") + pszUnixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string DistDir()
{
    return WindowsPath(TANDREL_DIST_DIR);
}

std::string GoldenPath(const char* pszName)
{
    return WindowsPath(TANDREL_GOLDEN_DIR) + "\\" + pszName;
}

std::vector<std::string> DistributionNames()
{
    std::vector<std::string> names = {"Setup.exe", "dxmedia.exe", "purgedxm.exe"};
    names.insert(names.end(), std::begin(kMainFiles), std::end(kMainFiles));
    names.insert(names.end(), std::begin(kHelpFiles), std::end(kHelpFiles));
    return names;
}

void CopyDistribution(const std::string& dir, const std::vector<std::string>& leaveOut)
{
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const std::string& name : DistributionNames()) {
        bool bLeaveOut = false;
        for (const std::string& left : leaveOut)
            bLeaveOut = bLeaveOut || lstrcmpiA(left.c_str(), name.c_str()) == 0;
        if (!bLeaveOut)
            CopyFileA((DistDir() + "\\" + name).c_str(), JoinPath(dir, name).c_str(), FALSE);
    }
}

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA data;
    {
        CFindHolder find(FindFirstFileA((dir + "\\*").c_str(), &data));
        if (find.IsValid()) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string path = dir + "\\" + name;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path);
                } else {
                    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(path.c_str());
                }
            } while (FindNextFileA(find.Get(), &data));
        }
    }
    RemoveDirectoryA(dir.c_str());
}

void DeleteRegistryTree(HKEY hRoot, const char* pszKey)
{
    {
        CRegKeyHolder key;
        if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
            return;
        char szSub[256];
        for (;;) {
            DWORD cchSub = sizeof(szSub);
            if (RegEnumKeyExA(key.Get(), 0, szSub, &cchSub, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS)
                break;
            std::string sub = std::string(pszKey) + "\\" + szSub;
            DeleteRegistryTree(hRoot, sub.c_str());
        }
    }
    RegDeleteKeyA(hRoot, pszKey);
}

bool RegistryKeyExists(HKEY hRoot, const char* pszKey)
{
    CRegKeyHolder key;
    return RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
}

bool ReadRegistryValue(HKEY hRoot, const char* pszKey, const char* pszValue,
                       std::vector<BYTE>* pData, DWORD* pdwType)
{
    CRegKeyHolder key;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD cb = 0;
    DWORD dwType = 0;
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    pData->assign(cb, 0);
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, pData->data(), &cb) !=
        ERROR_SUCCESS)
        return false;
    pData->resize(cb);
    if (pdwType != nullptr)
        *pdwType = dwType;
    return true;
}

bool ReadRegistryText(HKEY hRoot, const char* pszKey, const char* pszValue, std::string* pText)
{
    std::vector<BYTE> data;
    if (!ReadRegistryValue(hRoot, pszKey, pszValue, &data))
        return false;
    pText->assign(reinterpret_cast<const char*>(data.data()), data.size());
    while (!pText->empty() && pText->back() == '\0')
        pText->pop_back();
    return true;
}

void WriteRegistryText(HKEY hRoot, const char* pszKey, const char* pszValue, const char* pszText)
{
    CRegKeyHolder key;
    RegCreateKeyA(hRoot, pszKey, &key);
    RegSetValueExA(key.Get(), pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                   static_cast<DWORD>(lstrlenA(pszText) + 1));
}

std::string StartMenuShortcut()
{
    char szPath[MAX_PATH] = "";
    GetStartMenuShortcutPath(szPath, sizeof(szPath));
    return szPath;
}

std::string DesktopShortcut()
{
    char szPath[MAX_PATH] = "";
    GetDesktopShortcutPath(szPath, sizeof(szPath));
    return szPath;
}

std::string ShortcutTarget(const std::string& linkPath)
{
    CComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return "(no shell link object)";
    CComPtr<IPersistFile> file;
    if (FAILED(file.QueryFrom(link.Get())))
        return "(no IPersistFile)";
    WCHAR wszPath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wszPath, MAX_PATH);
    if (FAILED(file->Load(wszPath, STGM_READ)))
        return "(link not readable)";
    char szTarget[MAX_PATH] = "";
    WIN32_FIND_DATAA data;
    link->GetPath(szTarget, MAX_PATH, &data, SLGP_RAWPATH);
    return szTarget;
}

std::string ReadTextFile(const std::string& path)
{
    std::vector<BYTE> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string ExportKey(const std::string& key)
{
    std::string file = ScratchDir("export") + "\\key.reg";
    DeleteFileA(file.c_str());
    CProcessDriver regedit;
    if (!regedit.Start("regedit.exe /E \"" + file + "\" \"" + key + "\"", "C:\\") ||
        regedit.WaitForExit(30000) != 0)
        return std::string();
    std::vector<BYTE> bytes = ReadFileBytes(file);
    DeleteFileA(file.c_str());
    // regedit writes UTF-16 with a byte-order mark.
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        return std::string(bytes.begin(), bytes.end());
    std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    int cch = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                  0, nullptr, nullptr);
    std::string text(cch, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], cch,
                        nullptr, nullptr);
    std::string lines;
    for (char c : text) {
        if (c != '\r')
            lines += c;
    }
    return lines;
}

void ExpectInstalledFrom(const std::string& sourceDir, const std::string& dir)
{
    for (const std::string& name : InstalledNames()) {
        SCOPED_TRACE(name);
        std::string source = JoinPath(sourceDir, name.substr(name.rfind('\\') + 1));
        std::string target = JoinPath(dir, name);
        EXPECT_EQ(FileExists(target), FileExists(source));
        if (FileExists(source)) {
            EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(source));
        }
    }
}

std::vector<std::string> InstalledNames()
{
    std::vector<std::string> names(std::begin(kMainFiles), std::end(kMainFiles));
    for (const char* pszName : kHelpFiles)
        names.push_back(std::string("Help\\") + pszName);
    return names;
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    return (dir.size() == 3 ? dir.substr(0, 2) : dir) + "\\" + name;
}

void LayOutInstallation(const std::string& dir)
{
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA(JoinPath(dir, "Help").c_str(), nullptr);
    for (const std::string& name : InstalledNames()) {
        std::string source = DistDir() + "\\" + name.substr(name.rfind('\\') + 1);
        CopyFileA(source.c_str(), JoinPath(dir, name).c_str(), FALSE);
    }
}

std::string RemovalToolPath()
{
    char szSystem[MAX_PATH] = "";
    GetSystemDirectoryA(szSystem, MAX_PATH);
    return std::string(szSystem) + "\\purgedxm.exe";
}

bool PlaceRemovalTool()
{
    return CopyFileA((DistDir() + "\\purgedxm.exe").c_str(), RemovalToolPath().c_str(), FALSE) !=
           FALSE;
}

std::string TempDir()
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    return szTemp;
}

std::string CleanupBatchFile()
{
    return TempDir() + "\\Tandrel98.bat";
}

std::vector<std::string> CleanupBatchFiles()
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA data;
    CFindHolder find(FindFirstFileA((TempDir() + "\\Tandrel98*.bat").c_str(), &data));
    if (find.IsValid()) {
        do {
            files.push_back(TempDir() + "\\" + data.cFileName);
        } while (FindNextFileA(find.Get(), &data));
    }
    return files;
}

bool ProcessRuns(const char* pszExe)
{
    CHandleHolder snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    if (!snapshot.IsValid() || !Process32First(snapshot.Get(), &entry))
        return false;
    do {
        if (lstrcmpiA(entry.szExeFile, pszExe) == 0)
            return true;
    } while (Process32Next(snapshot.Get(), &entry));
    return false;
}

bool WaitForFileGone(const std::string& path, DWORD dwTimeoutMs)
{
    return WaitFor([&]() { return !FileExists(path); }, dwTimeoutMs);
}

std::string TestNameOf(const char* pszRowName)
{
    std::string name;
    bool bUpper = true;
    for (const char* p = pszRowName; *p != '\0'; ++p) {
        bool bAlnum = (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9');
        if (!bAlnum) {
            bUpper = true;
            continue;
        }
        name += bUpper && *p >= 'a' && *p <= 'z' ? static_cast<char>(*p - 'a' + 'A') : *p;
        bUpper = false;
    }
    return name;
}

void RemoveEverythingInstalled()
{
    RemoveTree(kDefaultInstallDir);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\Vostrane");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, TANDREL_APP_PATHS_BASE "\\" TANDREL_PROGRAM_FILE);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY);
    DeleteRegistryTree(HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE);
    for (const char* pszExtension : {".mpg", ".mpeg", ".mp2", ".mpv", ".mpa"})
        DeleteRegistryTree(HKEY_CLASSES_ROOT, pszExtension);
    DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Vostrane");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, "Software\\DirectX Media Runtime");
    DeleteFileA(StartMenuShortcut().c_str());
    DeleteFileA(DesktopShortcut().c_str());
    DeleteFileA(RemovalToolPath().c_str());
    for (const std::string& batch : CleanupBatchFiles())
        DeleteFileA(batch.c_str());
}

void CInstallTest::SetUp()
{
    RemoveEverythingInstalled();
}

void CInstallTest::TearDown()
{
    m_setup.Kill();
    RemoveEverythingInstalled();
}

void CInstallTest::StartSetup(const std::string& sourceDir)
{
    std::string dir = sourceDir;
    if (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    ASSERT_TRUE(m_setup.Start("\"" + dir + "\\Setup.exe\"", sourceDir));
}

void CInstallTest::ContinueToDirectory(const std::string& dir)
{
    HWND hWelcome = m_setup.WaitForDialog("Welcome");
    ASSERT_NE(hWelcome, nullptr) << "no Welcome dialog";
    PressButton(hWelcome, IDOK);
    HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr) << "no directory dialog";
    SetControlText(hDirectory, IDC_INSTALL_DIR, dir);
    PressButton(hDirectory, IDOK);
}

void CInstalledTest::SetUp()
{
    ASSERT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY))
        << "the shared installation is missing: it is made by SharedInstallation.Install";
    ASSERT_TRUE(FileExists(std::string(kDefaultInstallDir) + "\\" TANDREL_PROGRAM_FILE));
}

void CInstallTest::Install(const std::string& sourceDir, const std::string& dir, bool bOpenReadme)
{
    ASSERT_NO_FATAL_FAILURE(StartSetup(sourceDir));
    ASSERT_NO_FATAL_FAILURE(ContinueToDirectory(dir));
    HWND hDone = m_setup.WaitForDialog("Congratulation!", kInstallTimeoutMs);
    ASSERT_NE(hDone, nullptr) << "no Congratulation dialog";
    PressButton(hDone, bOpenReadme ? IDOK : IDC_ANSWER_NO);
    ASSERT_EQ(m_setup.WaitForExit(), 0u);
}
