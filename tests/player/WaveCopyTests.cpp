// The WAV copy of an AIFF-C file of G.711 sound: the copy holds exactly the file's sound
// bytes under a WAV header that names the same format, and every other or damaged file is
// refused with nothing left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestEnv.h"
#include "WaveCopy.h"

namespace {

typedef std::vector<BYTE> Bytes;

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

Bytes Tag(const char* psz) { return Bytes(psz, psz + 4); }

Bytes Big32(DWORD dw)
{
    return {BYTE(dw >> 24), BYTE(dw >> 16), BYTE(dw >> 8), BYTE(dw)};
}

Bytes Chunk(const char* pszTag, const Bytes& body, DWORD cbClaimed)
{
    Bytes chunk = Tag(pszTag);
    Append(chunk, Big32(cbClaimed));
    Append(chunk, body);
    if (body.size() & 1)
        chunk.push_back(0);
    return chunk;
}

// A COMM body: 2 channels, 3 frames, 8 bits, 11025 Hz (as an 80-bit float), a compression.
Bytes Common(const char* pszCompression, BYTE nChannels = 2)
{
    Bytes body = {0, nChannels, 0, 0, 0, 3, 0, 8, 0x40, 0x0c, 0xac, 0x44, 0, 0, 0, 0, 0, 0};
    Append(body, Tag(pszCompression));
    Append(body, {0, 0});  // an empty name
    return body;
}

const Bytes kSound = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
// An SSND body: offset 2, block size 0, two bytes skipped, the sound.
Bytes SoundChunkBody()
{
    Bytes body = {0, 0, 0, 2, 0, 0, 0, 0, 0xee, 0xee};
    Append(body, kSound);
    return body;
}

Bytes Form(const char* pszKind, const std::vector<Bytes>& chunks)
{
    Bytes inside = Tag(pszKind);
    for (const Bytes& chunk : chunks)
        Append(inside, chunk);
    Bytes file = Tag("FORM");
    Append(file, Big32(static_cast<DWORD>(inside.size())));
    Append(file, inside);
    return file;
}

Bytes G711File(const char* pszCompression)
{
    return Form("AIFC", {Chunk("FVER", Big32(0xa2805140), 4), Chunk("COMM", Common(pszCompression), 24),
                         Chunk("SSND", SoundChunkBody(), 16)});
}

// The WAV the copy of a two-channel 11025 Hz file of kSound is, byte for byte.
Bytes ExpectedWave(BYTE wTag)
{
    Bytes wave = {'R', 'I', 'F', 'F', 56, 0, 0, 0, 'W', 'A', 'V', 'E',
                  'f', 'm', 't', ' ', 18, 0, 0, 0, wTag, 0, 2, 0, 0x11, 0x2b, 0, 0, 0x22, 0x56, 0, 0, 2, 0, 8, 0, 0, 0,
                  'f', 'a', 'c', 't', 4, 0, 0, 0, 3, 0, 0, 0,
                  'd', 'a', 't', 'a', 6, 0, 0, 0};
    Append(wave, kSound);
    return wave;
}

struct CopyCase {
    const char* pszName;
    Bytes file;
    Bytes expected;  // empty: refused
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.pszName; }

Bytes Truncated(Bytes file, size_t cb)
{
    file.resize(cb);
    return file;
}

const CopyCase kCases[] = {
    {"MuLaw", G711File("ulaw"), ExpectedWave(7)},
    {"ALaw", G711File("alaw"), ExpectedWave(6)},
    {"UpperCaseMuLaw", G711File("ULAW"), ExpectedWave(7)},
    {"SoundBeforeItsFormat",
     Form("AIFC", {Chunk("SSND", SoundChunkBody(), 16), Chunk("COMM", Common("ulaw"), 24)}), ExpectedWave(7)},
    // A sound chunk that claims more than the file holds: what is there is the sound.
    {"SoundCutShort", Form("AIFC", {Chunk("COMM", Common("ulaw"), 24), Chunk("SSND", SoundChunkBody(), 4000)}),
     ExpectedWave(7)},
    {"LinearSound", G711File("NONE"), {}},
    {"PlainAiff", Form("AIFF", {Chunk("COMM", Common("ulaw"), 24), Chunk("SSND", SoundChunkBody(), 16)}), {}},
    {"NoChannels", Form("AIFC", {Chunk("COMM", Common("ulaw", 0), 24), Chunk("SSND", SoundChunkBody(), 16)}), {}},
    {"NoSoundChunk", Form("AIFC", {Chunk("COMM", Common("ulaw"), 24)}), {}},
    {"FormatCutShort", Truncated(G711File("ulaw"), 40), {}},
    {"OffsetPastTheSound",
     Form("AIFC", {Chunk("COMM", Common("ulaw"), 24), Chunk("SSND", {0, 0, 0x10, 0, 0, 0, 0, 0, 1, 2}, 10)}), {}},
    {"HeaderOnly", Truncated(G711File("ulaw"), 11), {}},
};

class WaveCopyTest : public testing::TestWithParam<CopyCase> {};

TEST_P(WaveCopyTest, HoldsTheSameSoundUnderAWaveHeaderOrRefuses)
{
    const CopyCase& c = GetParam();
    const std::string path = ScratchDir("wave-copy") + "\\" + c.pszName + ".aifc";
    WriteFileBytes(path, c.file);

    std::string copyPath;
    {
        CWaveCopy copy;
        ASSERT_EQ(!c.expected.empty(), copy.WriteFrom(path.c_str()));
        copyPath = copy.Path();
        if (c.expected.empty()) {
            EXPECT_EQ("", copyPath);
        } else {
            EXPECT_EQ(c.expected, ReadFileBytes(copyPath));
        }
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copyPath.c_str())) << "the copy outlived its owner";
    DeleteFileA(path.c_str());
}

std::string CaseName(const testing::TestParamInfo<CopyCase>& info) { return info.param.pszName; }

INSTANTIATE_TEST_SUITE_P(Aifc, WaveCopyTest, testing::ValuesIn(kCases), CaseName);

}  // namespace
