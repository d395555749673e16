#include "TimeStretch.h"

#include <cmath>

namespace {

// A frame spans 30 ms, so frames overlap by 15 ms; a frame may move up to 7.5 ms from its
// due place, which holds a whole period of any pitch above 133 Hz.
const double kHopSeconds = 0.015;
// The search for the best place looks at every 2nd place and every 4th sample first, then
// at each place around the best at every sample.
const int kCoarsePlaces = 2;
const int kCoarseSamples = 4;
// Input already read is let go of in blocks, not frame by frame.
const size_t kDropBlockFrames = 8192;

}  // namespace

void CTimeStretch::Reset(int nChannels, int nSamplesPerSec)
{
    m_nChannels = nChannels > 0 ? nChannels : 1;
    const int nRate = nSamplesPerSec > 0 ? nSamplesPerSec : 44100;
    m_nHop = static_cast<int>(std::lround(nRate * kHopSeconds));
    if (m_nHop < 8)
        m_nHop = 8;
    m_nLength = 2 * m_nHop;
    m_nTolerance = m_nHop / 2;
    m_window.resize(static_cast<size_t>(m_nLength));
    const double dPi = 3.14159265358979323846;
    // With a periodic Hann window, two windows half a frame apart add up to exactly one.
    for (int n = 0; n < m_nLength; ++n)
        m_window[static_cast<size_t>(n)] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * dPi * n / m_nLength));
    m_in.clear();
    m_llInStart = 0;
    m_llInEnd = 0;
    m_dNextIdeal = 0;
    m_llPrevious = -1;
    m_bDraining = false;
    m_sum.assign(static_cast<size_t>(m_nLength * m_nChannels), 0.0f);
    m_out.clear();
    m_nOutRead = 0;
    m_llOutMade = 0;
}

void CTimeStretch::SetSpeed(double dSpeed)
{
    if (dSpeed > 0.0 && std::isfinite(dSpeed))
        m_dSpeed = dSpeed;
}

void CTimeStretch::Push(const float* pFrames, size_t nFrames)
{
    m_in.insert(m_in.end(), pFrames, pFrames + nFrames * static_cast<size_t>(m_nChannels));
    m_llInEnd += static_cast<long long>(nFrames);
    while (CanStep())
        Step();
}

void CTimeStretch::Drain()
{
    // What the input not yet passed by a frame's due place is worth at the present speed.
    const double dRemaining = static_cast<double>(m_llInEnd) - m_dNextIdeal;
    const long long llTotal = m_llOutMade + (dRemaining > 0 ? std::llround(dRemaining / m_dSpeed) : 0);
    // Silence after the end gives the last frames something to be taken from.
    const size_t nPad = static_cast<size_t>(m_nLength + 2 * m_nTolerance + m_nHop);
    m_in.insert(m_in.end(), nPad * static_cast<size_t>(m_nChannels), 0.0f);
    m_llInEnd += static_cast<long long>(nPad);
    while (m_llOutMade < llTotal && CanStep())
        Step();
    if (m_llOutMade < llTotal)
        Emit(static_cast<size_t>(llTotal - m_llOutMade));
    const size_t nExtra = static_cast<size_t>(m_llOutMade - llTotal) * static_cast<size_t>(m_nChannels);
    if (nExtra > 0 && nExtra <= m_out.size() - m_nOutRead)
        m_out.resize(m_out.size() - nExtra);
    // The next input starts a stream of its own.
    m_in.clear();
    m_llInStart = 0;
    m_llInEnd = 0;
    m_dNextIdeal = 0;
    m_llPrevious = -1;
    m_llOutMade = 0;
    m_sum.assign(m_sum.size(), 0.0f);
}

size_t CTimeStretch::Pull(float* pOut, size_t nMaxFrames)
{
    size_t nFrames = Ready();
    if (nFrames > nMaxFrames)
        nFrames = nMaxFrames;
    const size_t nSamples = nFrames * static_cast<size_t>(m_nChannels);
    for (size_t i = 0; i < nSamples; ++i)
        pOut[i] = m_out[m_nOutRead + i];
    m_nOutRead += nSamples;
    if (m_nOutRead == m_out.size()) {
        m_out.clear();
        m_nOutRead = 0;
    } else if (m_nOutRead >= kDropBlockFrames * static_cast<size_t>(m_nChannels)) {
        m_out.erase(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(m_nOutRead));
        m_nOutRead = 0;
    }
    return nFrames;
}

bool CTimeStretch::CanStep() const
{
    const long long llIdeal = std::llround(m_dNextIdeal);
    return llIdeal + m_nTolerance + m_nLength <= m_llInEnd;
}

float CTimeStretch::Mono(long long llFrame) const
{
    const size_t nAt = static_cast<size_t>(llFrame - m_llInStart) * static_cast<size_t>(m_nChannels);
    float f = 0.0f;
    for (int c = 0; c < m_nChannels; ++c)
        f += m_in[nAt + static_cast<size_t>(c)];
    return f;
}

// How well the frame starting at llCandidate continues the waveform that the last frame
// would have gone on with (from llTarget), over the half frame in which they overlap:
// their correlation, for the candidate's energy.
double CTimeStretch::Similarity(long long llCandidate, long long llTarget, int nStride) const
{
    double dCross = 0, dEnergy = 0;
    for (int n = 0; n < m_nHop; n += nStride) {
        const double a = Mono(llCandidate + n);
        dCross += a * Mono(llTarget + n);
        dEnergy += a * a;
    }
    return dCross / std::sqrt(dEnergy + 1e-9);
}

long long CTimeStretch::BestPosition(long long llIdeal, long long llTarget) const
{
    long long llLow = llIdeal - m_nTolerance;
    if (llLow < m_llInStart)
        llLow = m_llInStart;
    const long long llHigh = llIdeal + m_nTolerance;
    // The natural continuation wins every tie: at speed 1 it is always in reach, and the
    // frames then rebuild the input exactly.
    long long llBest = llIdeal;
    double dBest = -1e300;
    if (llTarget >= llLow && llTarget <= llHigh) {
        llBest = llTarget;
        dBest = Similarity(llTarget, llTarget, kCoarseSamples);
    }
    long long llCoarse = llBest;
    for (long long p = llLow; p <= llHigh; p += kCoarsePlaces) {
        const double d = Similarity(p, llTarget, kCoarseSamples);
        if (d > dBest) {
            dBest = d;
            llCoarse = p;
        }
    }
    if (llCoarse == llBest)
        return llBest;
    llBest = llCoarse;
    dBest = Similarity(llCoarse, llTarget, 1);
    for (long long p = llCoarse - kCoarsePlaces + 1; p < llCoarse + kCoarsePlaces; ++p) {
        if (p == llCoarse || p < llLow || p > llHigh)
            continue;
        const double d = Similarity(p, llTarget, 1);
        if (d > dBest) {
            dBest = d;
            llBest = p;
        }
    }
    return llBest;
}

void CTimeStretch::Step()
{
    const long long llIdeal = std::llround(m_dNextIdeal);
    const long long llAt = m_llPrevious < 0 ? llIdeal : BestPosition(llIdeal, m_llPrevious + m_nHop);
    const size_t nBase = static_cast<size_t>(llAt - m_llInStart) * static_cast<size_t>(m_nChannels);
    // The first frame of a stream has nothing to fade in over: its first half counts whole.
    const bool bFirst = m_llPrevious < 0;
    for (int n = 0; n < m_nLength; ++n) {
        const float w = bFirst && n < m_nHop ? 1.0f : m_window[static_cast<size_t>(n)];
        for (int c = 0; c < m_nChannels; ++c) {
            const size_t i = static_cast<size_t>(n * m_nChannels + c);
            m_sum[i] += w * m_in[nBase + i];
        }
    }
    Emit(static_cast<size_t>(m_nHop));
    m_llPrevious = llAt;
    m_dNextIdeal += m_nHop * m_dSpeed;
    DropConsumedInput();
}

void CTimeStretch::Emit(size_t nFrames)
{
    const size_t nSamples = nFrames * static_cast<size_t>(m_nChannels);
    const size_t nHeld = m_sum.size();
    for (size_t i = 0; i < nSamples; ++i)
        m_out.push_back(i < nHeld ? m_sum[i] : 0.0f);
    if (nSamples >= nHeld) {
        m_sum.assign(nHeld, 0.0f);
    } else {
        for (size_t i = 0; i + nSamples < nHeld; ++i)
            m_sum[i] = m_sum[i + nSamples];
        for (size_t i = nHeld - nSamples; i < nHeld; ++i)
            m_sum[i] = 0.0f;
    }
    m_llOutMade += static_cast<long long>(nFrames);
}

void CTimeStretch::DropConsumedInput()
{
    long long llKeep = std::llround(m_dNextIdeal) - m_nTolerance;
    if (m_llPrevious + m_nHop < llKeep)
        llKeep = m_llPrevious + m_nHop;
    if (llKeep - m_llInStart < static_cast<long long>(kDropBlockFrames))
        return;
    const size_t nDrop = static_cast<size_t>(llKeep - m_llInStart) * static_cast<size_t>(m_nChannels);
    m_in.erase(m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(nDrop));
    m_llInStart = llKeep;
}
