// Sound played faster or slower with its pitch kept: waveform-similarity overlap-add. The
// input is cut into overlapping windowed frames that are added at a fixed output spacing
// while the input is read at that spacing times the speed; each frame is taken where, within
// a few milliseconds of its due place, it best continues the waveform of the frame before,
// so that periods are neither doubled nor cut. At speed 1 the output is the input itself.
#pragma once

#include <cstddef>
#include <vector>

class CTimeStretch {
public:
    // Starts again with nothing held, for frames of nChannels samples at nSamplesPerSec.
    void Reset(int nChannels, int nSamplesPerSec);

    // Input seconds per output second from the next frame on; a speed not greater than
    // zero, or not finite, is refused and the speed stays.
    void SetSpeed(double dSpeed);
    double GetSpeed() const { return m_dSpeed; }

    // Takes nFrames interleaved input frames.
    void Push(const float* pFrames, size_t nFrames);
    // The input has ended: what it still holds becomes output, so that in all the output
    // lasts the input's length divided by the speed (to a frame at an unchanged speed).
    void Drain();

    // Output frames ready, and up to nMaxFrames of them taken into pOut.
    size_t Ready() const { return (m_out.size() - m_nOutRead) / m_nChannels; }
    size_t Pull(float* pOut, size_t nMaxFrames);

    // The input frames taken in all since Reset, and the output frames made of them.
    long long InputFrames() const { return m_llInEnd; }
    long long OutputFrames() const { return m_llOutMade; }

private:
    bool CanStep() const;
    void Step();
    long long BestPosition(long long llIdeal, long long llTarget) const;
    double Similarity(long long llCandidate, long long llTarget, int nStride) const;
    float Mono(long long llFrame) const;
    void Emit(size_t nFrames);
    void DropConsumedInput();

    int m_nChannels = 1;
    int m_nHop = 1;        // output frames between two frames' starts
    int m_nLength = 2;     // frames in one windowed frame: twice the hop
    int m_nTolerance = 0;  // how far from its due place a frame may be taken
    double m_dSpeed = 1.0;
    std::vector<float> m_window;

    std::vector<float> m_in;     // interleaved input from frame m_llInStart on
    long long m_llInStart = 0;
    long long m_llInEnd = 0;
    double m_dNextIdeal = 0;     // where the next frame is due in the input
    long long m_llPrevious = -1;  // where the last frame was taken from
    double m_dOutDue = 0;        // output the input taken so far is worth, in frames
    bool m_bDraining = false;

    std::vector<float> m_sum;    // overlap-add of the frames not yet complete
    std::vector<float> m_out;    // complete output, from m_nOutRead on
    size_t m_nOutRead = 0;
    long long m_llOutMade = 0;
};
