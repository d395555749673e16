#include "MessageBox.h"

#include "AfxRes.h"
#include "ModalScope.h"
#include "ResourceText.h"

const char* AfxGetAppName()
{
    static char s_szTitle[MAX_PATH];
    if (s_szTitle[0] == '\0') {
        if (LoadText(AFX_IDS_APP_TITLE, s_szTitle, sizeof(s_szTitle)) == 0) {
            char szModule[MAX_PATH] = "";
            GetModuleFileNameA(nullptr, szModule, MAX_PATH);
            szModule[MAX_PATH - 1] = '\0';
            const char* pszName = szModule;
            for (const char* p = szModule; *p != '\0'; ++p) {
                if (*p == '\\' || *p == '/' || *p == ':')
                    pszName = p + 1;
            }
            lstrcpynA(s_szTitle, pszName, MAX_PATH);
        }
    }
    return s_szTitle;
}

int AfxMessageBox(const char* pszText, UINT nType, UINT)
{
    // The main frame (or the modal dialog on top of it) owns the box, and nothing else
    // of the program takes input until it closes.
    CModalScope scope;
    return MessageBoxA(scope.GetOwner(), pszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    char szText[1024] = "";
    LoadText(nIDPrompt, szText, sizeof(szText));
    return AfxMessageBox(szText, nType, nIDHelp);
}
