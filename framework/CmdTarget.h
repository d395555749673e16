// Command targets and their per-class message maps: tables of (message or command id,
// handler) that a class declares and that routing searches from the class to its bases.
// Each entry calls its handler through a small typed thunk, so handlers keep their own
// signatures and nothing is cast between member-function types.
#pragma once

#include <windows.h>

class CCmdTarget;
class CCmdUI;

// Notification codes carried with command routing.
enum { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1 };

// Calls one handler: pTarget is the object, nID the command id, wParam/lParam the window
// message's parameters, pExtra the CCmdUI of an update pass.
typedef LRESULT (*AFX_THUNK)(CCmdTarget* pTarget, UINT nID, WPARAM wParam, LPARAM lParam,
                             void* pExtra);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for commands and update handlers, else the window message
    int nCode;      // CN_COMMAND or CN_UPDATE_COMMAND_UI for WM_COMMAND
    UINT nID;       // first command id
    UINT nLastID;   // last command id (equal to nID for a single command)
    AFX_THUNK pfnThunk;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What a query of OnCmdMsg learns: that some class binds the command.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

#define DECLARE_MESSAGE_MAP()                          \
protected:                                             \
    static const AFX_MSGMAP* GetThisMessageMap();      \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                       \
    {                                                                                     \
        typedef theClass ThisClass;                                                       \
        typedef baseClass TheBaseClass;                                                   \
        static_assert(sizeof(ThisClass) > 0, "complete class");                           \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                 \
            {0, 0, 0, 0, nullptr}};                                                       \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,          \
                                              &_messageEntries[0]};                       \
        return &messageMap;                                                               \
    }

#define AFX_THUNK_ARGS CCmdTarget* pTarget_, UINT nID_, WPARAM wParam_, LPARAM lParam_, void* pExtra_
#define AFX_THIS static_cast<ThisClass*>(pTarget_)
#define AFX_UNUSED_ARGS (void)nID_, (void)wParam_, (void)lParam_, (void)pExtra_

#define ON_COMMAND(id, memberFxn)                                                  \
    {WM_COMMAND, CN_COMMAND, (id), (id), [](AFX_THUNK_ARGS) -> LRESULT {           \
         AFX_UNUSED_ARGS;                                                          \
         (AFX_THIS->*(memberFxn))();                                               \
         return 0;                                                                 \
     }},

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                    \
    {WM_COMMAND, CN_COMMAND, (id), (idLast), [](AFX_THUNK_ARGS) -> LRESULT {       \
         AFX_UNUSED_ARGS;                                                          \
         (AFX_THIS->*(memberFxn))(nID_);                                           \
         return 0;                                                                 \
     }},

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                        \
    {WM_COMMAND, static_cast<int>(CN_UPDATE_COMMAND_UI), (id), (id),               \
     [](AFX_THUNK_ARGS) -> LRESULT {                                               \
         AFX_UNUSED_ARGS;                                                          \
         (AFX_THIS->*(memberFxn))(static_cast<CCmdUI*>(pExtra_));                  \
         return 0;                                                                 \
     }},

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Looks nID up in this object's message map and its bases' and calls the handler.
    // pExtra is the CCmdUI for CN_UPDATE_COMMAND_UI. With pHandlerInfo, only reports
    // whether a handler exists (and where) without calling it. Returns TRUE when a
    // handler ran (or exists); classes that route further override it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                          AFX_CMDHANDLERINFO* pHandlerInfo = nullptr);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Finds the entry of this class chain for (nMessage, nCode, nID), or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, int nCode, UINT nID) const;
};
