// The least program that plays a media file: it renders the file, runs the graph and
// waits on the graph's event handle for the end. The benchmark compares the player with it.
#include <windows.h>
#include <dshow.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    CoInitialize(nullptr);
    HANDLE hRunning = CreateEventA(nullptr, TRUE, FALSE, "TandrelBenchRunning");
    IGraphBuilder* pGraph = nullptr;
    IMediaControl* pControl = nullptr;
    IMediaEvent* pEvent = nullptr;
    int nResult = 1;
    WCHAR wszPath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wszPath, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IGraphBuilder, reinterpret_cast<void**>(&pGraph))) &&
        SUCCEEDED(pGraph->RenderFile(wszPath, nullptr)) &&
        SUCCEEDED(pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&pControl))) &&
        SUCCEEDED(pGraph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&pEvent))) &&
        SUCCEEDED(pControl->Run())) {
        SetEvent(hRunning);
        OAEVENT hEvent = 0;
        pEvent->GetEventHandle(&hEvent);
        for (bool bDone = false; !bDone;) {
            if (WaitForSingleObject(reinterpret_cast<HANDLE>(hEvent), 60000) != WAIT_OBJECT_0)
                break;
            long lCode = 0;
            LONG_PTR l1 = 0, l2 = 0;
            while (SUCCEEDED(pEvent->GetEvent(&lCode, &l1, &l2, 0))) {
                pEvent->FreeEventParams(lCode, l1, l2);
                if (lCode == EC_COMPLETE || lCode == EC_USERABORT || lCode == EC_ERRORABORT)
                    bDone = true;
            }
        }
        pControl->Stop();
        nResult = 0;
    }
    if (pEvent != nullptr)
        pEvent->Release();
    if (pControl != nullptr)
        pControl->Release();
    if (pGraph != nullptr)
        pGraph->Release();
    CloseHandle(hRunning);
    CoUninitialize();
    return nResult;
}
