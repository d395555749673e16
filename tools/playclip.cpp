// Plays one media file to its end through the playback document, printing each play
// state as it changes. Usage: playclip [path]   (default: vost.mpg)
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "NTandrelDoc.h"
#include "PlaybackHost.h"

namespace {

const char* StateName(int nState)
{
    switch (nState) {
    case PLAY_NONE: return "PLAY_NONE";
    case PLAY_STOPPED: return "PLAY_STOPPED";
    case PLAY_PAUSED: return "PLAY_PAUSED";
    case PLAY_RUNNING: return "PLAY_RUNNING";
    default: return "?";
    }
}

class CConsoleHost : public CPlaybackHost {
public:
    void SetCurrentDocument(CNTandrelDoc*) override {}
    BOOL IsStartingUp() const override { return FALSE; }
    BOOL HasNextInGroup() const override { return FALSE; }
    BOOL NextInGroup(char*, int) override { return FALSE; }
    int GetGroupCount() const override { return 1; }
    void RestartGroup() override {}
    HWND GetMainWindow() const override { return nullptr; }
};

}  // namespace

int main(int argc, char** argv)
{
    const char* pszPath = argc > 1 ? argv[1] : "vost.mpg";
    CoInitialize(nullptr);
    CConsoleHost host;
    CPlaybackHost::Set(&host);
    int nResult = 0;
    {
        CNTandrelDoc doc;
        int nShown = -1;
        auto show = [&]() {
            if (doc.m_nPlayState != nShown) {
                nShown = doc.m_nPlayState;
                double dPosition = 0;
                doc.GetPosition(&dPosition);
                std::printf("%-13s at %.2f s\n", StateName(nShown), dPosition);
                std::fflush(stdout);
            }
        };
        show();
        if (!doc.OnOpenDocument(pszPath)) {
            std::printf("cannot play %s\n", pszPath);
            nResult = 1;
        } else {
            show();
            doc.Play();
            show();
            // Wait for the end of the media on the graph's event handle, pumping messages
            // for the video window meanwhile; the media pauses at its end.
            DWORD dwStart = GetTickCount();
            while (doc.m_nPlayState == PLAY_RUNNING && GetTickCount() - dwStart < 120000) {
                HANDLE hEvent = doc.m_hGraphEvent;
                DWORD dw = MsgWaitForMultipleObjects(1, &hEvent, FALSE, 500, QS_ALLINPUT);
                if (dw == WAIT_OBJECT_0) {
                    doc.HandleGraphEvent();
                    show();
                } else {
                    MSG msg;
                    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                        TranslateMessage(&msg);
                        DispatchMessageA(&msg);
                    }
                }
            }
            doc.Stop();
            show();
        }
    }
    CPlaybackHost::Set(nullptr);
    CoUninitialize();
    return nResult;
}
