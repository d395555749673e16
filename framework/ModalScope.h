// The program's modality: while one of its modal dialogs, sheets or message boxes runs,
// no other window of the program takes input, and the main frame refuses to close.
#pragma once

#include <windows.h>

#include <vector>
#include "CallbackType.h"

class CModalScope {
public:
    // Picks the owner for the modal window about to run and disables every other
    // top-level window of this thread (the modal call itself disables the owner).
    CModalScope();
    // Enables again what the constructor disabled.
    ~CModalScope();
    CModalScope(const CModalScope&) = delete;
    CModalScope& operator=(const CModalScope&) = delete;

    // The innermost modal window already up, else the main frame; null before the
    // program has a main frame.
    HWND GetOwner() const { return m_hWndOwner; }

    // Whether any modal window of the program is running.
    static BOOL IsActive();

private:
    static BOOL CALLBACK DisableOne(HWND hWnd, LPARAM lParam);
    TANDREL_ASSERT_CALLBACK(WNDENUMPROC, DisableOne);

    HWND m_hWndOwner;
    std::vector<HWND> m_disabled;
};
