// An AIFF-C file of G.711 sound (mu-law or A-law) read again as a WAV file. The engine's
// reader of AIFF takes no AIFF-C header, while its WAV reader decodes both kinds of sound;
// the copy holds the same sound bytes, untouched, under a WAV header, in a temporary file
// that lives as long as the copy.
#pragma once

#include <windows.h>

class CWaveCopy {
public:
    CWaveCopy() = default;
    ~CWaveCopy() { Delete(); }
    CWaveCopy(const CWaveCopy&) = delete;
    CWaveCopy& operator=(const CWaveCopy&) = delete;

    // Writes the copy of pszPath when it is an AIFF-C file of mu-law or A-law sound; false,
    // with no file left, for any other file or when the copy cannot be written.
    bool WriteFrom(const char* pszPath);
    // The copy's path, empty before a copy is written.
    const char* Path() const { return m_szPath; }
    // Deletes the copy (the engine must have let go of it).
    void Delete();

private:
    char m_szPath[MAX_PATH] = "";
};
