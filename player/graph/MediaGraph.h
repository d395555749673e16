// The media graph boundary as the document sees it: one graph of one media, asked for what
// playback needs (build, transport, positions, rate, sound, the video window, events) in
// the player's own terms. Behind it, and only there, the engine's interfaces are called, in
// whatever order and with whatever adaptations the engine needs (EngineGraph.h).
#pragma once

#include <windows.h>

#include <memory>

// Where a graph's transport is, once a change has been waited for.
enum GraphState {
    GRAPH_STOPPED = 0,
    GRAPH_PAUSED = 1,
    GRAPH_RUNNING = 2,
};

// The events the document acts on, by the engine's own numbers; other codes are taken and
// ignored.
const long kGraphEventComplete = 1;    // the end of the media
const long kGraphEventUserAbort = 2;   // the user closed the video window
const long kGraphEventErrorAbort = 3;  // the media cannot go on

// What the picture reports of itself. Each value the engine does not give keeps what the
// caller put there.
struct VideoFacts {
    long lWidth;
    long lHeight;
    double dAvgTimePerFrame;  // seconds
    long lBitRate;
    long lBitErrorRate;
};

// Results: E_NOINTERFACE when the graph lacks the part a call needs (nothing is done unless
// the call says otherwise); otherwise the engine's answer where the call says so. Times are
// seconds of the media, volume -10000 (silent) to 0, balance -10000 (left) to 10000
// (right), the rate a factor of normal speed.
class CMediaGraph {
public:
    virtual ~CMediaGraph() = default;

    // Builds the graph for a path or URL (8-bit text in the ANSI code page); the engine's
    // result. An engine without a source for addresses fails on one.
    virtual HRESULT RenderFile(const char* pszPath) = 0;

    // The handle that is signalled while events are queued; the graph owns it.
    virtual HRESULT GetEventHandle(HANDLE* phEvent) = 0;
    // Takes one queued event without waiting: its code in *plCode; the engine's result.
    virtual HRESULT TakeEvent(long* plCode) = 0;

    // Transport, each the engine's result.
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    // Stopped and back at the start. With bShowStart the picture at the start is cued
    // (the Stop command), and a graph without positions is stopped where it is; an aborted
    // media is only stopped and moved, and fails when it cannot be moved (it is stopped
    // then). Fails without transport; the engine's answers are not examined.
    virtual HRESULT StopAtStart(bool bShowStart) = 0;
    // The state, waiting at most dwMilliseconds for a change to finish; a state still in
    // transition is reported as the one it is going to.
    virtual GraphState GetState(DWORD dwMilliseconds) = 0;

    // Where the media is, within 0 .. its duration, and the times the Media and
    // Information pages show; each out-value is untouched when the call fails.
    virtual HRESULT GetDuration(double* pdDuration) = 0;
    virtual HRESULT GetCurrentPosition(double* pdPosition) = 0;
    virtual HRESULT GetStopTime(double* pdStop) = 0;
    virtual HRESULT GetPrerollTime(double* pdPreroll) = 0;
    // Moves the media to dPosition seconds and leaves it in the state it had; the result
    // of the move.
    virtual HRESULT SetPosition(double dPosition) = 0;
    // Shows the picture at dPosition and leaves the media paused there; fails only
    // without transport (the move's own answer, and a graph without positions, are not
    // examined).
    virtual HRESULT ShowFrameAt(double dPosition) = 0;
    // Plays at dRate times normal speed from now on, the sound included; a rate not
    // above zero is refused (E_INVALIDARG) and the speed stays.
    virtual HRESULT SetRate(double dRate) = 0;

    // The sound. Each fails only without a sound control; what the engine makes of the
    // value is not examined.
    virtual HRESULT SetVolume(long lVolume) = 0;
    virtual HRESULT SetBalance(long lBalance) = 0;
    // How long the sound still plays after the end was reported; 0 when nothing is left
    // to hear (no sound, or a graph no longer running). See GraphPlayout.h.
    virtual DWORD SoundPlayOutMs() = 0;

    // The picture: whether the media shows one (a picture of a known size).
    virtual bool HasVideo() = 0;
    // Its native size and rates; fails without a picture interface.
    virtual HRESULT GetVideoFacts(VideoFacts* pFacts) = 0;
    // Whether the graph has a video window to place (it may have one without a picture).
    virtual bool HasVideoWindow() = 0;
    // Makes the video window a child of hwndOwner, its input drained to the owner, at
    // (lLeft, lTop) and lWidth x lHeight in the owner's client area (the callers place it
    // at the client's corner, where a right and bottom edge are its width and height).
    virtual HRESULT AttachVideo(HWND hwndOwner, long lLeft, long lTop, long lWidth,
                                long lHeight) = 0;
    // Moves the video window within its owner, in the same terms.
    virtual HRESULT SetVideoPosition(long lLeft, long lTop, long lWidth, long lHeight) = 0;
    // The renderer's own full screen; its result (a renderer may refuse it).
    virtual HRESULT SetFullScreen(bool bFullScreen) = 0;
    // Lets go of the video window before the graph is released: a moving graph is
    // stopped (not waited for), the window hidden and given back by its owner. Fails,
    // with nothing done, when the graph has no video window.
    virtual HRESULT DetachVideo() = 0;
};

namespace MediaGraph {

// Creates the graph for one media; the engine's result, *ppGraph empty on failure.
HRESULT CreateGraph(std::unique_ptr<CMediaGraph>* ppGraph);

// Replaces the creation (tests put a graph of their own here). Returns the previous
// function; null goes back to the engine.
typedef HRESULT (*PFN_CREATEMEDIAGRAPH)(std::unique_ptr<CMediaGraph>* ppGraph);
PFN_CREATEMEDIAGRAPH SetGraphFactory(PFN_CREATEMEDIAGRAPH pfnCreate);

}  // namespace MediaGraph
