#include "CmdTarget.h"

#include "CmdUI.h"

const AFX_MSGMAP_ENTRY CCmdTarget::_messageEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr}};
const AFX_MSGMAP CCmdTarget::messageMap = {nullptr, &CCmdTarget::_messageEntries[0]};

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return &CCmdTarget::messageMap;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, int nCode, UINT nID) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr; pMap = pMap->pBaseMap) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p) {
            if (p->nMessage == nMessage && p->nCode == nCode && nID >= p->nID && nID <= p->nLastID)
                return p;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra)
{
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(WM_COMMAND, nCode, nID);
    if (pEntry == nullptr)
        return FALSE;

    switch (pEntry->nSig) {
    case AfxSig_vv:
        (this->*pEntry->pfn)();
        return TRUE;
    case AfxSig_vw:
        (this->*pEntry->pfnID)(nID);
        return TRUE;
    case AfxSig_vCmdUI: {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        if (pCmdUI == nullptr)
            return FALSE;
        pCmdUI->m_bEnableChanged = FALSE;
        (this->*pEntry->pfnCmdUI)(pCmdUI);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
