#include "WaveCopy.h"

#include <mmreg.h>

#include <cstring>
#include <vector>

#include "Holders.h"

namespace {

const DWORD kChunkHeaderBytes = 8;
const DWORD kCopyBlockBytes = 64 * 1024;
const WORD kMostChannels = 8;
// RIFF, WAVE, a format chunk of a WAVEFORMATEX without extra bytes, a fact chunk, a data
// chunk's header.
const DWORD kWaveHeaderBytes = 12 + 8 + 18 + 8 + 4 + 8;

// What an AIFF-C file of G.711 sound says of it.
struct G711Sound {
    WORD wFormatTag = 0;  // WAVE_FORMAT_MULAW or WAVE_FORMAT_ALAW; 0 for other sound
    WORD nChannels = 0;
    DWORD nSamplesPerSec = 0;
    DWORD dwDataAt = 0;  // where the sound bytes start in the file
    DWORD cbData = 0;
};

DWORD BigEndian32(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) << 24 | static_cast<DWORD>(p[1]) << 16 | static_cast<DWORD>(p[2]) << 8 | p[3];
}

WORD BigEndian16(const BYTE* p)
{
    return static_cast<WORD>(p[0] << 8 | p[1]);
}

// An AIFF sample rate, an 80-bit extended float, in whole samples a second; 0 unless it is
// at least 1 and below 2^32.
DWORD RateFromExtended(const BYTE* p)
{
    const int nExponent = ((p[0] & 0x7f) << 8 | p[1]) - 16383;
    if ((p[0] & 0x80) != 0 || nExponent < 0 || nExponent > 31)
        return 0;
    unsigned long long ullMantissa = 0;
    for (int i = 2; i < 10; ++i)
        ullMantissa = ullMantissa << 8 | p[i];
    return static_cast<DWORD>(ullMantissa >> (63 - nExponent));
}

WORD FormatTagOf(const BYTE* pCompression)
{
    if (memcmp(pCompression, "ulaw", 4) == 0 || memcmp(pCompression, "ULAW", 4) == 0)
        return WAVE_FORMAT_MULAW;
    if (memcmp(pCompression, "alaw", 4) == 0 || memcmp(pCompression, "ALAW", 4) == 0)
        return WAVE_FORMAT_ALAW;
    return 0;
}

bool ReadAt(HANDLE hFile, DWORD dwAt, void* pv, DWORD cb)
{
    LARGE_INTEGER liAt;
    liAt.QuadPart = dwAt;
    DWORD cbRead = 0;
    return SetFilePointerEx(hFile, liAt, nullptr, FILE_BEGIN) && ReadFile(hFile, pv, cb, &cbRead, nullptr) &&
           cbRead == cb;
}

// Reads the chunks of an AIFF-C file up to its sound; false for any other file, and for one
// whose sound is not G.711. A chunk that claims more than the file holds ends at the file's
// end.
bool ReadG711Header(HANDLE hFile, G711Sound* pSound)
{
    LARGE_INTEGER liSize;
    if (!GetFileSizeEx(hFile, &liSize) || liSize.QuadPart < 12 || liSize.QuadPart > 0xffffffffLL)
        return false;
    const DWORD cbFile = static_cast<DWORD>(liSize.QuadPart);
    BYTE form[12];
    if (!ReadAt(hFile, 0, form, sizeof(form)) || memcmp(form, "FORM", 4) != 0 || memcmp(form + 8, "AIFC", 4) != 0)
        return false;
    bool bCommon = false, bSound = false;
    for (DWORD dwAt = sizeof(form); dwAt <= cbFile - kChunkHeaderBytes && !(bCommon && bSound);) {
        BYTE header[kChunkHeaderBytes];
        if (!ReadAt(hFile, dwAt, header, sizeof(header)))
            return false;
        const DWORD dwBody = dwAt + kChunkHeaderBytes;
        const DWORD cbClaimed = BigEndian32(header + 4);
        const DWORD cbBody = cbClaimed < cbFile - dwBody ? cbClaimed : cbFile - dwBody;
        if (memcmp(header, "COMM", 4) == 0) {
            // channels, frames, sample size, rate, compression
            BYTE common[22];
            if (cbBody < sizeof(common) || !ReadAt(hFile, dwBody, common, sizeof(common)))
                return false;
            pSound->nChannels = BigEndian16(common);
            pSound->nSamplesPerSec = RateFromExtended(common + 8);
            pSound->wFormatTag = FormatTagOf(common + 18);
            bCommon = true;
        } else if (memcmp(header, "SSND", 4) == 0) {
            // the offset of the first sample past this, and a block size
            BYTE sound[8];
            if (cbBody < sizeof(sound) || !ReadAt(hFile, dwBody, sound, sizeof(sound)))
                return false;
            const DWORD dwOffset = BigEndian32(sound);
            if (dwOffset > cbBody - sizeof(sound))
                return false;
            pSound->dwDataAt = dwBody + sizeof(sound) + dwOffset;
            pSound->cbData = cbBody - sizeof(sound) - dwOffset;
            bSound = true;
        }
        const DWORD cbPadded = cbBody + (cbBody & 1);
        if (cbPadded > cbFile - dwBody)
            break;
        dwAt = dwBody + cbPadded;
    }
    if (!bCommon || !bSound || pSound->wFormatTag == 0 || pSound->nChannels == 0 ||
        pSound->nChannels > kMostChannels || pSound->nSamplesPerSec == 0 ||
        pSound->nSamplesPerSec > 0xffffffff / pSound->nChannels)
        return false;
    pSound->cbData -= pSound->cbData % pSound->nChannels;  // whole frames only
    return pSound->cbData <= 0xffffffff - kWaveHeaderBytes - 1;
}

void Put16(std::vector<BYTE>& bytes, WORD w)
{
    bytes.push_back(static_cast<BYTE>(w));
    bytes.push_back(static_cast<BYTE>(w >> 8));
}

void Put32(std::vector<BYTE>& bytes, DWORD dw)
{
    Put16(bytes, static_cast<WORD>(dw));
    Put16(bytes, static_cast<WORD>(dw >> 16));
}

void PutTag(std::vector<BYTE>& bytes, const char* pszTag)
{
    bytes.insert(bytes.end(), pszTag, pszTag + 4);
}

std::vector<BYTE> WaveHeader(const G711Sound& sound)
{
    std::vector<BYTE> bytes;
    const DWORD cbPad = sound.cbData & 1;
    PutTag(bytes, "RIFF");
    Put32(bytes, kWaveHeaderBytes - 8 + sound.cbData + cbPad);
    PutTag(bytes, "WAVE");
    PutTag(bytes, "fmt ");
    Put32(bytes, 18);
    Put16(bytes, sound.wFormatTag);
    Put16(bytes, sound.nChannels);
    Put32(bytes, sound.nSamplesPerSec);
    Put32(bytes, sound.nSamplesPerSec * sound.nChannels);  // one byte a sample
    Put16(bytes, sound.nChannels);
    Put16(bytes, 8);
    Put16(bytes, 0);
    PutTag(bytes, "fact");
    Put32(bytes, 4);
    Put32(bytes, sound.cbData / sound.nChannels);
    PutTag(bytes, "data");
    Put32(bytes, sound.cbData);
    return bytes;
}

bool WriteAll(HANDLE hFile, const BYTE* p, DWORD cb)
{
    DWORD cbWritten = 0;
    return WriteFile(hFile, p, cb, &cbWritten, nullptr) && cbWritten == cb;
}

bool WriteWave(HANDLE hFrom, const G711Sound& sound, HANDLE hTo)
{
    const std::vector<BYTE> header = WaveHeader(sound);
    if (!WriteAll(hTo, header.data(), static_cast<DWORD>(header.size())))
        return false;
    std::vector<BYTE> block(kCopyBlockBytes);
    for (DWORD cbDone = 0; cbDone < sound.cbData;) {
        const DWORD cbLeft = sound.cbData - cbDone;
        const DWORD cb = cbLeft < kCopyBlockBytes ? cbLeft : kCopyBlockBytes;
        if (!ReadAt(hFrom, sound.dwDataAt + cbDone, block.data(), cb) || !WriteAll(hTo, block.data(), cb))
            return false;
        cbDone += cb;
    }
    const BYTE pad = 0;
    return (sound.cbData & 1) == 0 || WriteAll(hTo, &pad, 1);
}

}  // namespace

bool CWaveCopy::WriteFrom(const char* pszPath)
{
    Delete();
    CHandleHolder from(CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    G711Sound sound;
    if (!from.IsValid() || !ReadG711Header(from.Get(), &sound))
        return false;
    char szDir[MAX_PATH] = "";
    const DWORD cchDir = GetTempPathA(MAX_PATH, szDir);
    if (cchDir == 0 || cchDir >= MAX_PATH - 14 || GetTempFileNameA(szDir, "tdr", 0, m_szPath) == 0) {
        m_szPath[0] = '\0';
        return false;
    }
    bool bWritten = false;
    {
        CHandleHolder to(CreateFileA(m_szPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY,
                                     nullptr));
        bWritten = to.IsValid() && WriteWave(from.Get(), sound, to.Get());
    }
    if (!bWritten)
        Delete();
    return bWritten;
}

void CWaveCopy::Delete()
{
    if (m_szPath[0] != '\0')
        DeleteFileA(m_szPath);
    m_szPath[0] = '\0';
}
