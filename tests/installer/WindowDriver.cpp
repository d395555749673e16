#include "WindowDriver.h"

#include <tlhelp32.h>

#include <cstring>
#include "CallbackType.h"

#include "TestEnv.h"

namespace {

const UINT kMessageTimeoutMs = 5000;

struct DialogSearch {
    DWORD dwProcessId;
    const char* pszTitle;
    bool bVisibleOnly;
    HWND hwndFound;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lParam)
{
    DialogSearch* pSearch = reinterpret_cast<DialogSearch*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hwnd, &dwProcessId);
    if (pSearch->dwProcessId != 0 && dwProcessId != pSearch->dwProcessId)
        return TRUE;
    if (pSearch->bVisibleOnly && !IsWindowVisible(hwnd))
        return TRUE;
    char szClass[32] = "";
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    char szTitle[256] = "";
    GetWindowTextA(hwnd, szTitle, sizeof(szTitle));
    if (std::strcmp(szClass, "#32770") == 0 && std::strcmp(szTitle, pSearch->pszTitle) == 0) {
        pSearch->hwndFound = hwnd;
        return FALSE;
    }
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, MatchDialog);

struct TitleSearch {
    const char* pszPart;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lParam)
{
    TitleSearch* pSearch = reinterpret_cast<TitleSearch*>(lParam);
    char szTitle[512] = "";
    GetWindowTextA(hwnd, szTitle, sizeof(szTitle));
    if (IsWindowVisible(hwnd) && std::strstr(szTitle, pSearch->pszPart) != nullptr)
        pSearch->found.push_back(hwnd);
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, MatchTitle);

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lParam)
{
    std::string* pText = reinterpret_cast<std::string*>(lParam);
    char szClass[32] = "";
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, "Static") != 0)
        return TRUE;
    // The window manager's copy of the text: readable while the owner is busy.
    char szText[1024] = "";
    GetWindowTextA(hwnd, szText, sizeof(szText));
    if (szText[0] == '\0')
        return TRUE;
    if (!pText->empty())
        *pText += "|";
    *pText += szText;
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, CollectStatic);

}  // namespace

CProcessDriver::~CProcessDriver()
{
    Kill();
    if (m_hProcess != nullptr)
        CloseHandle(m_hProcess);
    if (m_hJob != nullptr)
        CloseHandle(m_hJob);
}

bool CProcessDriver::Start(const std::string& commandLine, const std::string& currentDir)
{
    Kill();
    // The process and every process it starts (the runtime setup, the uninstaller's batch
    // file, the readme's editor) run in a job that ends them all when this driver ends or
    // is killed: a test never leaves a process behind, whatever way it ends.
    if (m_hJob == nullptr) {
        m_hJob = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
        ZeroMemory(&limits, sizeof(limits));
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (m_hJob != nullptr)
            SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &limits,
                                    sizeof(limits));
    }
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, currentDir.c_str(), &si, &pi))
        return false;
    if (m_hJob != nullptr)
        AssignProcessToJobObject(m_hJob, pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    if (m_hProcess != nullptr)
        CloseHandle(m_hProcess);
    m_hProcess = pi.hProcess;
    m_dwProcessId = pi.dwProcessId;
    return true;
}

HWND CProcessDriver::WaitForDialog(const char* pszTitle, DWORD dwTimeoutMs) const
{
    HWND hwnd = nullptr;
    WaitFor([&]() { return (hwnd = FindDialog(m_dwProcessId, pszTitle)) != nullptr; }, dwTimeoutMs);
    return hwnd;
}

bool CProcessDriver::WaitForDialogGone(const char* pszTitle, DWORD dwTimeoutMs) const
{
    return WaitFor([&]() { return FindDialog(m_dwProcessId, pszTitle) == nullptr; }, dwTimeoutMs);
}

DWORD CProcessDriver::WaitForExit(DWORD dwTimeoutMs) const
{
    if (m_hProcess == nullptr || WaitForSingleObject(m_hProcess, dwTimeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD dwExitCode = STILL_ACTIVE;
    GetExitCodeProcess(m_hProcess, &dwExitCode);
    return dwExitCode;
}

bool CProcessDriver::HasExited() const
{
    return m_hProcess != nullptr && WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
}

std::vector<std::string> CProcessDriver::RunningInJob() const
{
    std::vector<std::string> names;
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } ids;
    ZeroMemory(&ids, sizeof(ids));
    ids.list.NumberOfAssignedProcesses = 64;
    if (m_hJob == nullptr || !QueryInformationJobObject(m_hJob, JobObjectBasicProcessIdList, &ids,
                                                        sizeof(ids), nullptr))
        return {"(the job can't be read)"};
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
        std::string name = "process " + std::to_string(ids.list.ProcessIdList[i]);
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof(entry);
        if (hSnapshot != INVALID_HANDLE_VALUE && Process32First(hSnapshot, &entry)) {
            do {
                if (entry.th32ProcessID == ids.list.ProcessIdList[i])
                    name = entry.szExeFile;
            } while (Process32Next(hSnapshot, &entry));
        }
        names.push_back(name);
    }
    if (hSnapshot != INVALID_HANDLE_VALUE)
        CloseHandle(hSnapshot);
    return names;
}

void CProcessDriver::Kill()
{
    if (m_hJob != nullptr)
        TerminateJobObject(m_hJob, 99);
    if (m_hProcess != nullptr && !HasExited()) {
        TerminateProcess(m_hProcess, 99);
        WaitForSingleObject(m_hProcess, 5000);
    }
}

HWND FindDialog(DWORD dwProcessId, const char* pszTitle, bool bVisibleOnly)
{
    DialogSearch search = {dwProcessId, pszTitle, bVisibleOnly, nullptr};
    EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.hwndFound;
}

std::vector<HWND> FindWindowsWithTitle(const char* pszPart)
{
    TitleSearch search = {pszPart, {}};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string StaticTexts(HWND hDlg)
{
    std::string text;
    EnumChildWindows(hDlg, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

std::string ControlText(HWND hDlg, int nId)
{
    char szText[1024] = "";
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutA(GetDlgItem(hDlg, nId), WM_GETTEXT, sizeof(szText),
                        reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                        &dwResult);
    return szText;
}

void SetControlText(HWND hDlg, int nId, const std::string& text)
{
    DWORD_PTR dwResult = 0;
    SendMessageTimeoutA(GetDlgItem(hDlg, nId), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kMessageTimeoutMs, &dwResult);
}

void PressButton(HWND hDlg, int nId)
{
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

std::string AnswerMessageBox(DWORD dwProcessId, const char* pszCaption, DWORD dwTimeoutMs)
{
    HWND hwnd = nullptr;
    if (!WaitFor([&]() { return (hwnd = FindDialog(dwProcessId, pszCaption)) != nullptr; },
                 dwTimeoutMs))
        return std::string();
    // The box's text is its static control with the id 0xFFFF.
    std::string text = ControlText(hwnd, 0xFFFF);
    PressButton(hwnd, IDOK);
    // Wait until this box is gone, so that the next one is not mistaken for it.
    WaitFor([&]() { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, dwTimeoutMs);
    return text;
}
