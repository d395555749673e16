// Drives a modal dialog of this process from a second thread while the test thread waits
// in DoModal: finds the dialog by its caption, runs a script against it (typing into its
// controls, pressing its buttons), and cancels a dialog the script left open.
#pragma once

#include <windows.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "TestEnv.h"

inline std::string WindowText(HWND hwnd)
{
    LRESULT nLength = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    LRESULT nCopied =
        SendMessageA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(nCopied));
    return text;
}

inline std::string ClassOf(HWND hwnd)
{
    char szClass[64] = "";
    GetClassNameA(hwnd, szClass, sizeof(szClass));
    return szClass;
}

// Runs a script on a thread of its own against the next visible dialog of this process
// with the given caption. A dialog the script leaves open is cancelled, so that a
// failing test ends instead of waiting forever in DoModal.
class CDialogDriver {
public:
    CDialogDriver(const char* pszCaption, std::function<void(HWND)> script)
        : m_caption(pszCaption), m_script(std::move(script)), m_thread(&CDialogDriver::Run, this)
    {
    }
    ~CDialogDriver() { Join(); }
    CDialogDriver(const CDialogDriver&) = delete;
    CDialogDriver& operator=(const CDialogDriver&) = delete;

    // Waits for the script; what it recorded may be read afterwards.
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    bool m_bFound = false;
    bool m_bLeftOpen = false;

private:
    void Run()
    {
        // The visible dialog of this process with the caption.
        HWND hDlg = nullptr;
        auto found = [&]() {
            hDlg = nullptr;
            while ((hDlg = FindWindowExA(nullptr, hDlg, "#32770", m_caption.c_str())) != nullptr) {
                DWORD dwProcess = 0;
                GetWindowThreadProcessId(hDlg, &dwProcess);
                if (dwProcess == GetCurrentProcessId() && IsWindowVisible(hDlg))
                    return true;
            }
            return false;
        };
        if (!WaitFor(found, 10000))
            return;
        m_bFound = true;
        // Let the dialog finish filling its controls.
        Sleep(200);
        m_script(hDlg);
        if (!WaitFor([&]() { return !IsWindow(hDlg); }, 5000)) {
            m_bLeftOpen = true;
            PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }

    std::string m_caption;
    std::function<void(HWND)> m_script;
    std::thread m_thread;
};

inline void Press(HWND hDlg, int nID)
{
    SendMessageA(GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

inline void Type(HWND hCtrl, const std::string& text)
{
    SendMessageA(hCtrl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// The file name box of an Open or Save dialog: a combo box or, in older layouts, an edit.
inline HWND FileNameBox(HWND hDlg)
{
    HWND hName = GetDlgItem(hDlg, cmb13);
    return hName != nullptr ? hName : GetDlgItem(hDlg, edt1);
}
