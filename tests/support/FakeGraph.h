// A media of the test's own behind the document's graph boundary (MediaGraph.h): it plays
// nowhere, answers as an engine would, and keeps what the document asked of it (the
// state, the position, the rate, the sound, the video window), for the test to read.
//
// Scripting: SetResult("Run", E_FAIL) makes that call fail and change nothing; a success
// code other than S_OK is returned after the call did its work. Lack(part) takes a part of
// the graph away, as an engine without it would: the calls that need it fail with
// E_NOINTERFACE.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <string>

#include "MediaGraph.h"

class CFakeGraph {
public:
    CFakeGraph();
    ~CFakeGraph();
    CFakeGraph(const CFakeGraph&) = delete;
    CFakeGraph& operator=(const CFakeGraph&) = delete;

    enum Part { kControl, kPosition, kEvents, kAudio, kPicture, kVideoWindow };

    // Scripting
    void SetResult(const char* pszCall, HRESULT hr) { m_results[pszCall] = hr; }
    void Lack(Part part) { m_lacking[part] = true; }
    void SetDuration(double d) { m_dDuration = m_dStopTime = d; }  // the stop time too
    void SetPosition(double d) { m_dPosition = d; }
    void SetVideoSize(long cx, long cy);
    void SetPlayOut(DWORD dwMs) { m_dwPlayOutMs = dwMs; }
    void QueueEvent(long lCode);

    // What the document left the media with
    GraphState State() const { return m_state; }
    double Position() const { return m_dPosition; }
    double Rate() const { return m_dRate; }
    long Volume() const { return m_lVolume; }
    long Balance() const { return m_lBalance; }
    HWND Owner() const { return m_hwndOwner; }  // the video window's owner and input drain
    bool Visible() const { return m_bVisible; }
    RECT WindowPosition() const { return m_rcWindow; }  // right/bottom hold width/height
    bool FullScreen() const { return m_bFullScreen; }
    HANDLE EventHandle() const { return m_hEvent; }  // signalled while events are queued
    size_t PendingEvents() const { return m_events.size(); }
    const std::string& RenderedFile() const { return m_strRendered; }
    // Graphs of this media the document holds now (0 or 1 once it let go of them).
    int Holders() const { return m_nHolders; }

private:
    friend class CFakeMediaGraph;

    bool Has(Part part) const { return m_lacking.count(part) == 0; }
    // The scripted result of a call, S_OK when none is scripted.
    HRESULT Result(const char* pszCall) const;
    void UpdateEventSignal();

    std::map<std::string, HRESULT> m_results;
    std::map<Part, bool> m_lacking;
    std::deque<long> m_events;
    GraphState m_state = GRAPH_STOPPED;
    double m_dDuration = 0.0, m_dPosition = 0.0, m_dStopTime = 0.0, m_dRate = 1.0;
    long m_lVolume = 0, m_lBalance = 0;
    VideoFacts m_video = {352, 240, 0.04, 0, 0};
    DWORD m_dwPlayOutMs = 0;
    HWND m_hwndOwner = nullptr;
    bool m_bVisible = true;
    RECT m_rcWindow = {0, 0, 352, 240};
    bool m_bFullScreen = false;
    HANDLE m_hEvent = nullptr;
    std::string m_strRendered;
    int m_nHolders = 0;
};

// Puts fake media behind the boundary's creation: each new graph plays the next queued
// media, or fails with the scripted result when none is queued. Only one may exist at a time.
class CFakeGraphFactory {
public:
    CFakeGraphFactory();
    ~CFakeGraphFactory();
    CFakeGraphFactory(const CFakeGraphFactory&) = delete;
    CFakeGraphFactory& operator=(const CFakeGraphFactory&) = delete;

    void Queue(CFakeGraph* pMedia) { m_queue.push_back(pMedia); }  // not owned
    void FailWith(HRESULT hr) { m_hrEmpty = hr; }
    int Created() const { return m_nCreated; }

private:
    static HRESULT Create(std::unique_ptr<CMediaGraph>* ppGraph);

    std::deque<CFakeGraph*> m_queue;
    HRESULT m_hrEmpty = REGDB_E_CLASSNOTREG;
    int m_nCreated = 0;
    MediaGraph::PFN_CREATEMEDIAGRAPH m_pfnPrevious = nullptr;
};

// Whether the document's graph plays this fake media.
bool Plays(const std::unique_ptr<CMediaGraph>& pGraph, const CFakeGraph& media);
