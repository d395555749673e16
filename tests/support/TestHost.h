// The application side of the document for tests: an open group held in memory and a
// record of what the document asked of the frame.
#pragma once

#include <string>
#include <vector>

#include "PlaybackHost.h"

class CTestHost : public CPlaybackHost {
public:
    CTestHost() { m_pPrevious = CPlaybackHost::Set(this); }
    ~CTestHost() override { CPlaybackHost::Set(m_pPrevious); }
    CTestHost(const CTestHost&) = delete;
    CTestHost& operator=(const CTestHost&) = delete;

    // A group as the Open dialog leaves it: the first file is open, the next is index 1.
    void SetGroup(const std::vector<std::string>& files, int nNext = 1)
    {
        m_group = files;
        m_nNext = nNext;
        m_bGroupChosen = true;
    }

    void SetCurrentDocument(CNTandrelDoc* pDoc) override { m_pDoc = pDoc; }
    BOOL IsStartingUp() const override { return m_bStartingUp; }
    BOOL HasNextInGroup() const override
    {
        return m_bGroupChosen && m_nNext < static_cast<int>(m_group.size());
    }
    BOOL NextInGroup(std::string* pPath) override
    {
        if (m_nNext >= static_cast<int>(m_group.size()))
            return FALSE;
        *pPath = m_group[m_nNext++];
        return TRUE;
    }
    int GetGroupCount() const override
    {
        return m_bGroupChosen ? static_cast<int>(m_group.size()) : 1;
    }
    void RestartGroup() override { m_nNext = 0; }
    HWND GetMainWindow() const override { return m_hwndMain; }
    CNTandrelDoc* GetCurrentDocument() const override { return m_pDoc; }
    void SaveMediaCopy() override { ++m_nSaveCopies; }

    CNTandrelDoc* m_pDoc = nullptr;
    BOOL m_bStartingUp = FALSE;
    HWND m_hwndMain = nullptr;
    std::vector<std::string> m_group;
    int m_nNext = 0;
    bool m_bGroupChosen = false;
    int m_nSaveCopies = 0;

private:
    CPlaybackHost* m_pPrevious = nullptr;
};
