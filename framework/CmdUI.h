// The object an update-command-UI handler receives: one command's user-interface element
// (a palette button, a menu item), enabled or checked through it.
#pragma once

#include <windows.h>

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    // Enables or disables the element; records that the handler made a decision.
    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);

    UINT m_nID = 0;
    BOOL m_bEnableChanged = FALSE;
};
