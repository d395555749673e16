#include "Hearing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Holders.h"
#include "TestEnv.h"
#include "XInput.h"

namespace {

// A sample is sound when a channel is above a hundredth of full scale.
const int kSoundThreshold = 328;
// Tones are told apart over ten milliseconds (a whole number of periods of every
// multiple of 100 Hz), one step every millisecond.
const int kWindow = 441;
const int kStep = 44;

bool IsSound(const std::vector<short>& samples, size_t nFrame)
{
    return std::abs(samples[2 * nFrame]) > kSoundThreshold ||
           std::abs(samples[2 * nFrame + 1]) > kSoundThreshold;
}

// Running sums of the signal against each tone's cosine and sine, so that the strength of
// a tone over any window is two subtractions away.
struct ToneSums {
    std::vector<double> cosine, sine;
};

ToneSums SumsFor(const std::vector<short>& samples, size_t nFrames, int nHz)
{
    ToneSums sums;
    sums.cosine.assign(nFrames + 1, 0.0);
    sums.sine.assign(nFrames + 1, 0.0);
    const double dStep = 2.0 * 3.14159265358979323846 * nHz / kHearingRate;
    for (size_t i = 0; i < nFrames; ++i) {
        const double dMono = (samples[2 * i] + samples[2 * i + 1]) / 2.0;
        const double dPhase = dStep * static_cast<double>(i % kHearingRate);
        sums.cosine[i + 1] = sums.cosine[i] + dMono * std::cos(dPhase);
        sums.sine[i + 1] = sums.sine[i] + dMono * std::sin(dPhase);
    }
    return sums;
}

double Strength(const ToneSums& sums, size_t nBegin, size_t nEnd)
{
    const double c = sums.cosine[nEnd] - sums.cosine[nBegin];
    const double s = sums.sine[nEnd] - sums.sine[nBegin];
    return c * c + s * s;
}

double Level(const std::vector<short>& samples, size_t nBegin, size_t nEnd, int nChannel)
{
    if (nEnd <= nBegin)
        return 0;
    double dSum = 0;
    for (size_t i = nBegin; i < nEnd; ++i) {
        const double d = samples[2 * i + nChannel] / 32768.0;
        dSum += d * d;
    }
    return std::sqrt(dSum / static_cast<double>(nEnd - nBegin));
}

std::vector<short> ReadSamples(const std::string& winPath)
{
    std::vector<BYTE> bytes = ReadFileBytes(winPath);
    std::vector<short> samples(bytes.size() / 4 * 2);
    if (!samples.empty())
        memcpy(samples.data(), bytes.data(), samples.size() * sizeof(short));
    return samples;
}

}  // namespace

std::string Heard::Sequence() const
{
    std::string text;
    int nLast = 0;
    for (const HeardTone& tone : tones) {
        if (tone.nHz == 0 || tone.nHz == nLast)
            continue;
        text += (text.empty() ? "" : " ") + std::to_string(tone.nHz);
        nLast = tone.nHz;
    }
    return text;
}

std::string Heard::Describe() const
{
    std::string text;
    for (const HeardTone& tone : tones) {
        char sz[32] = "";
        snprintf(sz, sizeof(sz), "%s%d:%.3f", text.empty() ? "" : " ", tone.nHz, tone.dSeconds);
        text += sz;
    }
    return text;
}

double Heard::SecondsOf(int nHz) const
{
    double d = 0;
    for (const HeardTone& tone : tones) {
        if (tone.nHz == nHz)
            d += tone.dSeconds;
    }
    return d;
}

Heard Listen(const std::vector<short>& samples, const std::vector<int>& tonesHz)
{
    Heard heard;
    const size_t nFrames = samples.size() / 2;
    size_t nFirst = 0;
    while (nFirst < nFrames && !IsSound(samples, nFirst))
        ++nFirst;
    if (nFirst == nFrames)
        return heard;
    size_t nEnd = nFrames;
    while (!IsSound(samples, nEnd - 1))
        --nEnd;
    heard.dFirst = static_cast<double>(nFirst) / kHearingRate;
    heard.dLast = static_cast<double>(nEnd) / kHearingRate;

    std::vector<ToneSums> sums;
    for (int nHz : tonesHz)
        sums.push_back(SumsFor(samples, nFrames, nHz));
    for (size_t nAt = nFirst; nAt < nEnd; nAt += kStep) {
        // A step with no sound sample of its own is a gap; otherwise it is the tone
        // strongest over the window around it.
        const size_t nStepEnd = nAt + kStep < nEnd ? nAt + kStep : nEnd;
        bool bSound = false;
        for (size_t i = nAt; i < nStepEnd && !bSound; ++i)
            bSound = IsSound(samples, i);
        int nHz = 0;
        if (bSound) {
            const size_t nMiddle = nAt + kStep / 2;
            const size_t nBegin = nMiddle > kWindow / 2 ? nMiddle - kWindow / 2 : 0;
            const size_t nWindowEnd = nBegin + kWindow < nFrames ? nBegin + kWindow : nFrames;
            double dBest = -1;
            for (size_t t = 0; t < tonesHz.size(); ++t) {
                const double d = Strength(sums[t], nBegin, nWindowEnd);
                if (d > dBest) {
                    dBest = d;
                    nHz = tonesHz[t];
                }
            }
        }
        const double dSeconds = static_cast<double>(nStepEnd - nAt) / kHearingRate;
        if (!heard.tones.empty() && heard.tones.back().nHz == nHz)
            heard.tones.back().dSeconds += dSeconds;
        else
            heard.tones.push_back({nHz, dSeconds});
    }
    const size_t nQuarter = (nEnd - nFirst) / 4;
    heard.dLeftLevel = Level(samples, nFirst + nQuarter, nEnd - nQuarter, 0);
    heard.dRightLevel = Level(samples, nFirst + nQuarter, nEnd - nQuarter, 1);
    return heard;
}

double PitchHz(const std::vector<short>& samples, double dFrom, double dTo)
{
    const size_t nFrames = samples.size() / 2;
    const size_t nBegin = dFrom > 0 ? static_cast<size_t>(dFrom * kHearingRate) : 0;
    size_t nEnd = static_cast<size_t>(dTo * kHearingRate);
    if (nEnd > nFrames)
        nEnd = nFrames;
    // A crossing counts where the sound rises through zero after it has been below a
    // hundredth of full scale (noise about zero adds none), placed to a fraction of a
    // sample; a period a gap lengthens or a repeat shortens is the device's, not the pitch.
    std::vector<double> periods;
    double dPrevious = -1;
    bool bArmed = false;
    for (size_t i = nBegin + 1; i < nEnd; ++i) {
        const double a = samples[2 * (i - 1)] + samples[2 * (i - 1) + 1];
        const double b = samples[2 * i] + samples[2 * i + 1];
        if (a < -2 * kSoundThreshold)
            bArmed = true;
        if (bArmed && a < 0 && b >= 0) {
            const double dAt = static_cast<double>(i - 1) + (-a) / (b - a);
            if (dPrevious >= 0)
                periods.push_back(dAt - dPrevious);
            dPrevious = dAt;
            bArmed = false;
        }
    }
    if (periods.empty())
        return 0;
    std::vector<double> sorted = periods;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double dMedian = sorted[sorted.size() / 2];
    double dSum = 0;
    int nKept = 0;
    for (double dPeriod : periods) {
        if (dPeriod > dMedian * 0.5 && dPeriod < dMedian * 1.5) {
            dSum += dPeriod;
            ++nKept;
        }
    }
    return nKept > 0 ? nKept * kHearingRate / dSum : 0;
}

CSinkRecording::CSinkRecording()
{
    static int s_nRecording = 0;
    const std::string name = "tandrel-hear-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++s_nRecording);
    m_unixRaw = "/tmp/" + name + ".raw";
    m_unixPid = "/tmp/" + name + ".pid";
    m_winRaw = "Z:\\tmp\\" + name + ".raw";
}

CSinkRecording::~CSinkRecording()
{
    Stop();
    DeleteFileA(m_winRaw.c_str());
}

bool CSinkRecording::Start()
{
    // The recorder asks for small fragments, so that what the sink played is in the file
    // a few milliseconds later.
    m_bRunning = RunHost("parec -d cap.monitor --raw --format=s16le --rate=44100 --channels=2 "
                         "--latency-msec=20 > " + m_unixRaw + " 2>/dev/null & echo $! > " +
                         m_unixPid);
    if (!m_bRunning)
        return false;
    const DWORD dwStart = GetTickCount();
    while (ReadFileBytes(m_winRaw).size() < kHearingRate / 10 * 4) {
        if (GetTickCount() - dwStart >= 10000)
            return false;
        Sleep(20);
    }
    return true;
}

void CSinkRecording::Stop()
{
    if (!m_bRunning)
        return;
    RunHost("kill $(cat " + m_unixPid + ") && rm -f " + m_unixPid);
    m_bRunning = false;
}

std::vector<short> CSinkRecording::Samples() const
{
    return ReadSamples(m_winRaw);
}

bool CSinkRecording::WaitSoundThenSilence(double dSilence, DWORD dwMilliseconds) const
{
    const size_t nSilence = static_cast<size_t>(dSilence * kHearingRate);
    const DWORD dwStart = GetTickCount();
    for (;;) {
        const std::vector<short> samples = Samples();
        size_t nEnd = samples.size() / 2;
        const size_t nFrames = nEnd;
        while (nEnd > 0 && !IsSound(samples, nEnd - 1))
            --nEnd;
        if (nEnd > 0 && nFrames - nEnd >= nSilence)
            return true;
        if (GetTickCount() - dwStart >= dwMilliseconds)
            return false;
        Sleep(50);
    }
}

std::string UnixMediaPath(const char* pszName)
{
    std::string path = MediaPath(pszName).substr(2);  // after "Z:"
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

bool PlayWithReference(const char* pszMediaName, DWORD dwMilliseconds)
{
    return PlayHostFileWithReference(UnixMediaPath(pszMediaName).c_str(), dwMilliseconds);
}

bool PlayHostFileWithReference(const char* pszUnixPath, DWORD dwMilliseconds)
{
    return RunHost(std::string("paplay -d cap ") + pszUnixPath, dwMilliseconds);
}
