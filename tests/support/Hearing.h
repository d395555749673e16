// What a person hears: the sound that reaches the test's sound server, recorded from its
// sink's monitor (the sink "cap" that scripts/pulse-env.sh starts), and read back as tones.
// The recording is 16-bit stereo at 44100 samples a second, sample for sample what the
// server mixed; every wait on it is bounded.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

const int kHearingRate = 44100;

// One stretch of a single tone, as heard.
struct HeardTone {
    int nHz;
    double dSeconds;
};

struct Heard {
    // Where the sound begins and ends in the recording, to the sample (seconds; both -1
    // when the recording is silent).
    double dFirst = -1;
    double dLast = -1;
    // What was heard between those two points, in order: each stretch is the longest run
    // of one tone (or of silence, 0 Hz), measured in steps of a millisecond.
    std::vector<HeardTone> tones;
    // Root mean square of each channel over the middle half of the sound, in full scale.
    double dLeftLevel = 0;
    double dRightLevel = 0;

    double Span() const { return dLast >= dFirst ? dLast - dFirst : 0; }
    // The tones' frequencies in the order heard ("300 600 1200"); a gap of silence inside
    // a tone does not start it again (its length counts against the tone's seconds).
    std::string Sequence() const;
    // Every stretch with its length ("300:1.000 0:0.004 300:0.120"), for messages.
    std::string Describe() const;
    // Seconds heard of a tone, over all its stretches.
    double SecondsOf(int nHz) const;
};

// Reads interleaved stereo samples as tones of the given frequencies: a sample counts as
// sound when either channel is above a hundredth of full scale.
Heard Listen(const std::vector<short>& samples, const std::vector<int>& tonesHz);

// The pitch heard between dFrom and dTo seconds of interleaved stereo samples, from the
// zero crossings of the channels' sum (rising ones: the periods between them, leaving out
// those a gap lengthens or a repeat shortens by half or more); 0 when that stretch holds
// no sound.
double PitchHz(const std::vector<short>& samples, double dFrom, double dTo);

// A recording of the sink's monitor, running from Start until Stop or destruction.
class CSinkRecording {
public:
    CSinkRecording();
    ~CSinkRecording();
    CSinkRecording(const CSinkRecording&) = delete;
    CSinkRecording& operator=(const CSinkRecording&) = delete;

    // Starts the recorder and returns once its first samples are in.
    bool Start();
    void Stop();
    // Everything recorded so far.
    std::vector<short> Samples() const;
    // Waits until the recording holds sound followed by dSilence seconds of silence.
    bool WaitSoundThenSilence(double dSilence, DWORD dwMilliseconds) const;

private:
    std::string m_unixRaw, m_unixPid, m_winRaw;
    bool m_bRunning = false;
};

// The unix path of a file in the build's media folder.
std::string UnixMediaPath(const char* pszName);

// Plays a file with the sound server's own client (the reference player) and waits,
// bounded, until it has ended.
bool PlayWithReference(const char* pszMediaName, DWORD dwMilliseconds);
// The same for any file of the host, by its unix path.
bool PlayHostFileWithReference(const char* pszUnixPath, DWORD dwMilliseconds);
