// Command targets and their per-class message maps: tables of (message or command id,
// handler) that a class declares and that routing searches from the class to its bases.
#pragma once

#include <windows.h>

class CCmdTarget;
class CCmdUI;

// Notification codes carried with WM_COMMAND-style routing.
enum { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1 };

// Handler signatures a message-map entry can hold.
enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,      // void Handler()                 (commands)
    AfxSig_vCmdUI,  // void Handler(CCmdUI*)           (update-command-UI)
    AfxSig_vw,      // void Handler(UINT)              (command ranges: the id)
};

typedef void (CCmdTarget::*AFX_PMSG)();
typedef void (CCmdTarget::*AFX_PMSG_UI)(CCmdUI*);
typedef void (CCmdTarget::*AFX_PMSG_ID)(UINT);

// One binding; the handler sits in the member that matches its signature.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for commands and update handlers
    int nCode;      // CN_COMMAND or CN_UPDATE_COMMAND_UI
    UINT nID;       // first id
    UINT nLastID;   // last id (equal to nID for a single command)
    AfxSig nSig;
    AFX_PMSG pfn;
    AFX_PMSG_UI pfnCmdUI;
    AFX_PMSG_ID pfnID;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                      \
protected:                                                         \
    static const AFX_MSGMAP_ENTRY _messageEntries[];               \
    static const AFX_MSGMAP messageMap;                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; } \
    const AFX_MSGMAP theClass::messageMap = {&baseClass::messageMap,                  \
                                             &theClass::_messageEntries[0]};          \
    const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define END_MESSAGE_MAP() {0, 0, 0, 0, AfxSig_end, nullptr, nullptr, nullptr} };

#define ON_COMMAND(id, memberFxn)                               \
    {WM_COMMAND, CN_COMMAND, (id), (id), AfxSig_vv,             \
     static_cast<AFX_PMSG>(memberFxn), nullptr, nullptr},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                 \
    {WM_COMMAND, CN_COMMAND, (id), (idLast), AfxSig_vw,         \
     nullptr, nullptr, static_cast<AFX_PMSG_ID>(memberFxn)},

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                          \
    {WM_COMMAND, static_cast<int>(CN_UPDATE_COMMAND_UI), (id), (id), \
     AfxSig_vCmdUI, nullptr, static_cast<AFX_PMSG_UI>(memberFxn), nullptr},

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Looks nID up in this object's message map and its bases' and calls the handler.
    // pExtra is the CCmdUI for CN_UPDATE_COMMAND_UI. Returns TRUE when a handler ran;
    // classes that route further (view, frame) override it and call the base first.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra);

protected:
    static const AFX_MSGMAP_ENTRY _messageEntries[];
    static const AFX_MSGMAP messageMap;
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Finds the entry of this class chain for (nMessage, nCode, nID), or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, int nCode, UINT nID) const;
};
