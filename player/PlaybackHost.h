// What the playback document needs of the application object and its main frame.
// The application implements it and registers itself; with none registered the document
// behaves as if no group was ever chosen and no window exists.
#pragma once

#include <windows.h>

#include <string>

class CNTandrelDoc;

class CPlaybackHost {
public:
    virtual ~CPlaybackHost() = default;

    // The document registers itself at construction and passes null at destruction.
    virtual void SetCurrentDocument(CNTandrelDoc* pDoc) = 0;
    // TRUE while the application opens its first media.
    virtual BOOL IsStartingUp() const = 0;

    // The open group: the files chosen together in one Open dialog.
    virtual BOOL HasNextInGroup() const = 0;
    // The next file's path, whatever its length; moves on to the one after it.
    virtual BOOL NextInGroup(std::string* pPath) = 0;
    virtual int GetGroupCount() const = 0;
    virtual void RestartGroup() = 0;

    // The main window, or null before it exists.
    virtual HWND GetMainWindow() const = 0;

    // The document registered last, or null; the Movie Controls pages reach it here.
    virtual CNTandrelDoc* GetCurrentDocument() const { return nullptr; }
    // Asks for a name and saves a copy of the current media there (the Video page's
    // "Save File"); a host without dialogs does nothing.
    virtual void SaveMediaCopy() {}

    static CPlaybackHost* Get();
    // Returns the previous host.
    static CPlaybackHost* Set(CPlaybackHost* pHost);
};
