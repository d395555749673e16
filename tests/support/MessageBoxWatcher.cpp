#include "MessageBoxWatcher.h"

#include <chrono>
#include "CallbackType.h"

namespace {

struct FindState {
    DWORD dwProcess;
    HWND hwndFound;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam)
{
    FindState* pState = reinterpret_cast<FindState*>(lParam);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hwnd, &dwProcess);
    char szClass[32] = "";
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    // A dialog that takes input (a property sheet, a file dialog, the Open Internet
    // dialog: tabs, a list or a text field) is never a message: it is left to its test.
    if (dwProcess == pState->dwProcess && lstrcmpA(szClass, "#32770") == 0 &&
        IsWindowVisible(hwnd) && FindWindowExA(hwnd, nullptr, "SysTabControl32", nullptr) == nullptr &&
        FindWindowExA(hwnd, nullptr, "ComboBox", nullptr) == nullptr &&
        FindWindowExA(hwnd, nullptr, "Edit", nullptr) == nullptr) {
        pState->hwndFound = hwnd;
        return FALSE;
    }
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, FindDialog);

struct ChildState {
    std::string text;
    HWND hwndButton;
};

BOOL CALLBACK ReadChild(HWND hwnd, LPARAM lParam)
{
    ChildState* pState = reinterpret_cast<ChildState*>(lParam);
    char szClass[32] = "";
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    char szText[1024] = "";
    GetWindowTextA(hwnd, szText, sizeof(szText));
    if (lstrcmpiA(szClass, "Static") == 0 && szText[0] != '\0' && pState->text.empty())
        pState->text = szText;
    else if (lstrcmpiA(szClass, "Button") == 0 && pState->hwndButton == nullptr)
        pState->hwndButton = hwnd;
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, ReadChild);

}  // namespace

CMessageBoxWatcher::CMessageBoxWatcher() : m_thread(&CMessageBoxWatcher::Run, this) {}

CMessageBoxWatcher::~CMessageBoxWatcher()
{
    m_bStop = true;
    m_thread.join();
}

void CMessageBoxWatcher::Run()
{
    HWND hwndLast = nullptr;
    while (!m_bStop) {
        FindState find = {GetCurrentProcessId(), nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&find));
        if (find.hwndFound != nullptr && find.hwndFound != hwndLast) {
            // Give the box a moment to fill its controls before reading them.
            Sleep(50);
            ShownMessage shown;
            char szCaption[256] = "";
            GetWindowTextA(find.hwndFound, szCaption, sizeof(szCaption));
            shown.caption = szCaption;
            ChildState child = {std::string(), nullptr};
            EnumChildWindows(find.hwndFound, ReadChild, reinterpret_cast<LPARAM>(&child));
            shown.text = child.text;
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_shown.push_back(shown);
            }
            hwndLast = find.hwndFound;
            WORD wId = child.hwndButton != nullptr
                           ? static_cast<WORD>(GetDlgCtrlID(child.hwndButton))
                           : static_cast<WORD>(IDOK);
            PostMessageA(find.hwndFound, WM_COMMAND, MAKEWPARAM(wId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(child.hwndButton));
        } else if (find.hwndFound == nullptr) {
            hwndLast = nullptr;
        }
        Sleep(20);
    }
}

std::vector<ShownMessage> CMessageBoxWatcher::Shown() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_shown;
}

std::vector<std::string> CMessageBoxWatcher::Texts() const
{
    std::vector<std::string> texts;
    for (const ShownMessage& shown : Shown())
        texts.push_back(shown.text);
    return texts;
}
