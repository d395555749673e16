#include "PlaybackHost.h"

namespace {
CPlaybackHost* g_pHost = nullptr;
}

CPlaybackHost* CPlaybackHost::Get()
{
    return g_pHost;
}

CPlaybackHost* CPlaybackHost::Set(CPlaybackHost* pHost)
{
    CPlaybackHost* pOld = g_pHost;
    g_pHost = pHost;
    return pOld;
}
