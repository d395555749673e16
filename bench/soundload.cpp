// Plays a 12 s tone again and again while the script keeps one core busy, and counts the
// gaps of silence heard inside it at the sound server: through the player, through the
// least program that plays it through the engine, through the platform's two sound outputs fed by a program of their own with half a second queued
// (DirectSound, waveOut), and through the sound server's own player. Where the platform's
// outputs gap as the player does, the sound runs dry below the program's own buffers.
#include <windows.h>
#include <dsound.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Hearing.h"
#include "PlayerProcess.h"
#include "RunToEnd.h"
#include "TestEnv.h"

namespace {

const char kMedia[] = "long.wav";
const DWORD kQueuedMs = 500;

// The sound of a canonical 16-bit WAV file: its format and its data bytes.
bool ReadWave(const std::string& path, WAVEFORMATEX* pFormat, std::vector<char>* pData)
{
    FILE* pFile = fopen(path.c_str(), "rb");
    if (pFile == nullptr)
        return false;
    std::vector<char> bytes;
    char chunk[65536];
    for (size_t n; (n = fread(chunk, 1, sizeof(chunk), pFile)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(pFile);
    for (size_t nAt = 12; nAt + 8 <= bytes.size();) {
        DWORD cb = 0;
        memcpy(&cb, &bytes[nAt + 4], sizeof(cb));
        const size_t nBody = nAt + 8;
        if (cb > bytes.size() - nBody)
            return false;
        if (memcmp(&bytes[nAt], "fmt ", 4) == 0 && cb >= 16) {
            *pFormat = WAVEFORMATEX();
            memcpy(pFormat, &bytes[nBody], 16);
        } else if (memcmp(&bytes[nAt], "data", 4) == 0) {
            pData->assign(bytes.begin() + nBody, bytes.begin() + nBody + cb);
            return pFormat->nBlockAlign != 0;
        }
        nAt = nBody + cb + (cb & 1);
    }
    return false;
}

DWORD QueuedBytes(const WAVEFORMATEX& format)
{
    return format.nAvgBytesPerSec * kQueuedMs / 1000 / format.nBlockAlign * format.nBlockAlign;
}

// waveOut, fed in 20 ms blocks with half a second queued.
bool PlayWaveOut(const WAVEFORMATEX& format, const std::vector<char>& data)
{
    HANDLE hDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT hOut = nullptr;
    if (waveOutOpen(&hOut, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(hDone), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR) {
        CloseHandle(hDone);
        return false;
    }
    const DWORD cbBlock = format.nAvgBytesPerSec / 50 / format.nBlockAlign * format.nBlockAlign;
    std::vector<WAVEHDR> headers(QueuedBytes(format) / cbBlock);
    size_t nNext = 0;
    int nQueued = 0;
    auto queue = [&](WAVEHDR& header) {
        if (nNext >= data.size())
            return;
        header = WAVEHDR();
        header.lpData = const_cast<char*>(&data[nNext]);
        header.dwBufferLength = static_cast<DWORD>(std::min<size_t>(cbBlock, data.size() - nNext));
        nNext += header.dwBufferLength;
        waveOutPrepareHeader(hOut, &header, sizeof(header));
        waveOutWrite(hOut, &header, sizeof(header));
        ++nQueued;
    };
    for (WAVEHDR& header : headers)
        queue(header);
    const DWORD dwGiveUp = GetTickCount() + 30000;
    while (nQueued > 0 && GetTickCount() < dwGiveUp) {
        WaitForSingleObject(hDone, 100);
        for (WAVEHDR& header : headers) {
            if (header.lpData == nullptr || (header.dwFlags & WHDR_DONE) == 0)
                continue;
            waveOutUnprepareHeader(hOut, &header, sizeof(header));
            header.lpData = nullptr;
            --nQueued;
            queue(header);
        }
    }
    waveOutReset(hOut);
    for (WAVEHDR& header : headers)
        if (header.lpData != nullptr)
            waveOutUnprepareHeader(hOut, &header, sizeof(header));
    waveOutClose(hOut);
    CloseHandle(hDone);
    return nQueued == 0;
}

// A looping DirectSound buffer of two seconds, kept half a second ahead of its play cursor.
bool PlayDirectSound(const WAVEFORMATEX& format, const std::vector<char>& data)
{
    IDirectSound8* pSound = nullptr;
    if (FAILED(DirectSoundCreate8(nullptr, &pSound, nullptr)))
        return false;
    pSound->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);
    const DWORD cbBuffer = format.nAvgBytesPerSec * 2 / format.nBlockAlign * format.nBlockAlign;
    WAVEFORMATEX wanted = format;
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS;
    desc.dwBufferBytes = cbBuffer;
    desc.lpwfxFormat = &wanted;
    IDirectSoundBuffer* pBuffer = nullptr;
    if (FAILED(pSound->CreateSoundBuffer(&desc, &pBuffer, nullptr))) {
        pSound->Release();
        return false;
    }
    size_t nNext = 0;
    DWORD dwWrite = 0;
    auto write = [&](DWORD cb) {
        void* pFirst = nullptr;
        void* pSecond = nullptr;
        DWORD cbFirst = 0, cbSecond = 0;
        if (FAILED(pBuffer->Lock(dwWrite, cb, &pFirst, &cbFirst, &pSecond, &cbSecond, 0)))
            return;
        auto fill = [&](void* pPart, DWORD cbPart) {
            char* pBytes = static_cast<char*>(pPart);
            for (DWORD i = 0; i < cbPart; ++i)
                pBytes[i] = nNext < data.size() ? data[nNext++] : 0;
        };
        fill(pFirst, cbFirst);
        if (pSecond != nullptr)
            fill(pSecond, cbSecond);
        pBuffer->Unlock(pFirst, cbFirst, pSecond, cbSecond);
        dwWrite = (dwWrite + cb) % cbBuffer;
    };
    const DWORD cbAhead = QueuedBytes(format);
    write(cbAhead);
    pBuffer->Play(0, 0, DSBPLAY_LOOPING);
    size_t nPlayed = 0;
    DWORD dwLastPlay = 0;
    const DWORD dwGiveUp = GetTickCount() + 30000;
    while (nPlayed < data.size() + format.nAvgBytesPerSec / 5 && GetTickCount() < dwGiveUp) {
        Sleep(10);
        DWORD dwPlay = 0, dwCursor = 0;
        pBuffer->GetCurrentPosition(&dwPlay, &dwCursor);
        nPlayed += (dwPlay + cbBuffer - dwLastPlay) % cbBuffer;
        dwLastPlay = dwPlay;
        const DWORD cbQueued = (dwWrite + cbBuffer - dwPlay) % cbBuffer;
        if (cbQueued < cbAhead)
            write(cbAhead - cbQueued);
    }
    pBuffer->Stop();
    pBuffer->Release();
    pSound->Release();
    return GetTickCount() < dwGiveUp;
}

// The least program that plays a media through the engine (bareplay.exe beside this one).
bool PlayWithEngine(const std::string& bareExe)
{
    return RunToEnd("\"" + bareExe + "\" \"" + MediaPath(kMedia) + "\"", 40000);
}

bool PlayWithPlayer(const std::string& dir)
{
    CPlayerProcess player;
    if (!player.Start("\"" + MediaPath(kMedia) + "\"", dir))
        return false;
    const bool bEnded = player.WaitMainWindow(30000, false) != nullptr && player.WaitPlayState(2, 40000);
    return player.CloseAndExitCode(10000) == 0 && bEnded;
}

struct Count {
    int nRuns = 0;
    int nFailed = 0;
    int nRunsWithGaps = 0;
    int nGaps = 0;
    double dLongest = 0;
    std::string where;  // the first gaps: seconds into the sound, and milliseconds long
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string bareExe = argv[1];
    const std::string dir = argv[2];
    const int nPlayerRuns = argc > 3 ? atoi(argv[3]) : 50;
    const int nOtherRuns = argc > 4 ? atoi(argv[4]) : 20;
    WAVEFORMATEX format = {};
    std::vector<char> data;
    if (!ReadWave(MediaPath(kMedia), &format, &data)) {
        fprintf(stderr, "soundload: cannot read %s\n", kMedia);
        return 1;
    }
    const char* const kPaths[] = {"player", "engine", "DirectSound", "waveOut", "reference"};
    printf("| sound path | runs | runs with a gap | gaps | longest gap ms | did not play | first gaps (s into the sound: ms) |\n"
           "|---|---|---|---|---|---|---|\n");
    for (int nPath = 0; nPath < 5; ++nPath) {
        Count count;
        const int nRuns = nPath == 0 ? nPlayerRuns : nOtherRuns;
        for (int nRun = 0; nRun < nRuns; ++nRun) {
            CSinkRecording recording;
            if (!recording.Start())
                return 1;
            bool bPlayed = false;
            switch (nPath) {
            case 0: bPlayed = PlayWithPlayer(dir); break;
            case 1: bPlayed = PlayWithEngine(bareExe); break;
            case 2: bPlayed = PlayDirectSound(format, data); break;
            case 3: bPlayed = PlayWaveOut(format, data); break;
            default: bPlayed = PlayWithReference(kMedia, 40000); break;
            }
            recording.WaitSoundThenSilence(0.5, 5000);
            recording.Stop();
            const Heard heard = Listen(recording.Samples(), {440});
            int nGaps = 0;
            double dInto = 0;
            for (const HeardTone& tone : heard.tones) {
                dInto += tone.dSeconds;
                if (tone.nHz != 0)
                    continue;
                ++nGaps;
                count.dLongest = std::max(count.dLongest, tone.dSeconds);
                if (count.nGaps + nGaps <= 12) {
                    char szGap[32];
                    snprintf(szGap, sizeof(szGap), " %.1f:%.0f", dInto - tone.dSeconds, tone.dSeconds * 1000);
                    count.where += szGap;
                }
            }
            ++count.nRuns;
            count.nFailed += bPlayed ? 0 : 1;
            count.nRunsWithGaps += nGaps > 0 ? 1 : 0;
            count.nGaps += nGaps;
        }
        printf("| %s | %d | %d | %d | %.0f | %d |%s |\n", kPaths[nPath], count.nRuns, count.nRunsWithGaps,
               count.nGaps, count.dLongest * 1000, count.nFailed, count.where.c_str());
        fflush(stdout);
    }
    return 0;
}
