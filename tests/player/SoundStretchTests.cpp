// The stretch that plays sound at a rate, through its media object interface as the
// engine's wrapper filter drives it: tones come out lasting their length divided by the
// speed, at their own pitch and in their order; at speed 1 every byte comes out unchanged.
#include <windows.h>
#include <dshow.h>
#include <mediaobj.h>
#include <mmreg.h>
#include <mediaerr.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "Hearing.h"
#include "Holders.h"
#include "RateClock.h"
#include "SoundStretch.h"
#include "TestEnv.h"

namespace {

// An input or output buffer over bytes of the test's own.
class CBytes final : public IMediaBuffer {
public:
    explicit CBytes(DWORD cbMax) : m_bytes(cbMax) {}
    std::vector<BYTE> m_bytes;
    DWORD m_cbLength = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMediaBuffer) ? this : nullptr;
        return *ppv != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetLength(DWORD cbLength) override
    {
        if (cbLength > m_bytes.size())
            return E_INVALIDARG;
        m_cbLength = cbLength;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* pcbMax) override
    {
        *pcbMax = static_cast<DWORD>(m_bytes.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE** ppBuffer, DWORD* pcbLength) override
    {
        if (ppBuffer != nullptr)
            *ppBuffer = m_bytes.data();
        if (pcbLength != nullptr)
            *pcbLength = m_cbLength;
        return S_OK;
    }
};

// An audio type over the caller's format.
DMO_MEDIA_TYPE AudioType(const GUID& subtype, WAVEFORMATEX* pwfx)
{
    DMO_MEDIA_TYPE mt = {};
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = subtype;
    mt.formattype = FORMAT_WaveFormatEx;
    mt.cbFormat = sizeof(*pwfx);
    mt.pbFormat = reinterpret_cast<BYTE*>(pwfx);
    return mt;
}

// Stereo 16-bit tones of dSeconds each, at a quarter of full scale.
std::vector<short> Tones(const std::vector<int>& tonesHz, double dSeconds)
{
    std::vector<short> samples;
    const int nFrames = static_cast<int>(dSeconds * kHearingRate);
    for (int nHz : tonesHz) {
        for (int i = 0; i < nFrames; ++i) {
            const short s = static_cast<short>(std::lround(11585 * std::sin(2 * 3.14159265358979 * nHz * i / kHearingRate)));
            samples.push_back(s);
            samples.push_back(s);
        }
    }
    return samples;
}

// Runs the samples through a stretch at dSpeed in buffers of a tenth of a second, as the
// wrapper filter does (input, then output for as long as the stretch has some), and ends
// the stream with a discontinuity. With rtFirst the first buffer carries that time, as a
// stream's first sound after its start does, for a sound beside a picture or alone;
// steered by pClock, whose stream time goes on 0.6 s before input nLagAt (if any).
std::vector<short> Stretch(const std::vector<short>& in, double dSpeed, REFERENCE_TIME rtFirst = -1,
                           bool bWithPicture = false, CRateClock* pClock = nullptr, size_t nLagAt = 0)
{
    std::vector<short> out;
    CComPtr<IMediaObject> pObject;
    IUnknown* pInner = nullptr;
    EXPECT_EQ(CSoundStretch::CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&pInner)), S_OK);
    if (pInner == nullptr)
        return out;
    pObject.QueryFrom(pInner);
    pInner->Release();
    CSoundStretch* pStretch = static_cast<CSoundStretch*>(pObject.Get());
    pStretch->SetSpeed(dSpeed);
    pStretch->KeepWithPicture(bWithPicture);
    pStretch->SteerBy(pClock);

    WAVEFORMATEX wfx = {WAVE_FORMAT_PCM, 2, kHearingRate, kHearingRate * 4, 4, 16, 0};
    const DMO_MEDIA_TYPE mt = AudioType(MEDIASUBTYPE_PCM, &wfx);
    EXPECT_EQ(pObject->SetInputType(0, &mt, 0), S_OK);
    EXPECT_EQ(pObject->SetOutputType(0, &mt, 0), S_OK);

    CBytes output(16384);
    auto drain = [&]() {
        DWORD dwStatus = 0;
        do {
            DMO_OUTPUT_DATA_BUFFER buffer = {&output, 0, 0, 0};
            output.m_cbLength = 0;
            if (FAILED(pObject->ProcessOutput(0, 1, &buffer, &dwStatus)))
                return;
            const short* p = reinterpret_cast<const short*>(output.m_bytes.data());
            out.insert(out.end(), p, p + output.m_cbLength / 2);
            dwStatus = buffer.dwStatus;
        } while (dwStatus & DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE);
    };
    const size_t nChunk = kHearingRate / 10 * 2;
    for (size_t at = 0; at < in.size(); at += nChunk) {
        const size_t n = in.size() - at < nChunk ? in.size() - at : nChunk;
        CBytes input(static_cast<DWORD>(n * 2));
        memcpy(input.m_bytes.data(), &in[at], n * 2);
        input.m_cbLength = static_cast<DWORD>(n * 2);
        REFERENCE_TIME rtThen = 0, rtNow = 0;
        if (nLagAt != 0 && at / nChunk == nLagAt && pClock->GetStreamTime(&rtThen)) {
            EXPECT_TRUE(WaitFor([&]() { return pClock->GetStreamTime(&rtNow) && rtNow >= rtThen + 6000000; }, 5000));
        }
        const DWORD dwFlags = at == 0 && rtFirst >= 0 ? DMO_INPUT_DATA_BUFFERF_TIME : 0;
        EXPECT_EQ(pObject->ProcessInput(0, &input, dwFlags, dwFlags != 0 ? rtFirst : 0, 0), S_OK);
        drain();
    }
    pObject->Discontinuity(0);
    drain();
    return out;
}

double Seconds(const std::vector<short>& samples)
{
    return static_cast<double>(samples.size() / 2) / kHearingRate;
}

class SoundStretchSpeed : public testing::TestWithParam<double> {};

TEST_P(SoundStretchSpeed, ThreeTonesLastTheirLengthOverTheSpeedAtTheirOwnPitch)
{
    const double dSpeed = GetParam();
    const std::vector<int> tones = {300, 600, 1200};
    const std::vector<short> out = Stretch(Tones(tones, 1.0), dSpeed);
    const double dTone = 1.0 / dSpeed;
    EXPECT_NEAR(Seconds(out), 3 * dTone, 0.001) << "at speed " << dSpeed;
    const Heard heard = Listen(out, tones);
    EXPECT_EQ(heard.Sequence(), "300 600 1200") << heard.Describe();
    for (size_t i = 0; i < tones.size(); ++i) {
        // Within the 30 ms of one frame, which at a change of tone holds some of both.
        EXPECT_NEAR(heard.SecondsOf(tones[i]), dTone, 0.03) << tones[i] << " Hz: " << heard.Describe();
        // Inside each tone, away from its edges, the pitch is the file's within 1 %.
        const double dMiddle = (static_cast<double>(i) + 0.5) * dTone;
        EXPECT_NEAR(PitchHz(out, dMiddle - dTone / 4, dMiddle + dTone / 4), tones[i], tones[i] * 0.01)
            << tones[i] << " Hz at speed " << dSpeed;
    }
}

INSTANTIATE_TEST_SUITE_P(Speeds, SoundStretchSpeed, testing::Values(0.5, 0.8333, 2.0736, 3.0, 4.0));

TEST(SoundStretch, AtSpeedOneEverySampleComesOutUnchanged)
{
    const std::vector<short> in = Tones({440, 523}, 0.75);
    EXPECT_TRUE(Stretch(in, 1.0) == in);
}

// Its output has no times: beside a picture, a sound whose stream starts before it (an
// MPEG's picture comes first) is preceded by that much silence over the speed, so that it
// keeps in step with the picture; a lead-in longer than two seconds is not waited for, and
// a sound alone plays from its first sample.
TEST(SoundStretch, ASoundThatStartsAfterItsStreamIsPrecededBySilenceOverTheSpeed)
{
    const struct {
        double dSpeed, dStart, dFirstHeard;
        bool bWithPicture;
    } rows[] = {{2.0, 0.7, 0.35, true}, {0.5, 0.7, 1.4, true}, {1.0, 0.3, 0.3, true},
                {4.0, 0.0, 0.0, true},  {2.0, 3.0, 0.0, true}, {0.5, 0.7, 0.0, false}};
    for (const auto& row : rows) {
        const std::vector<short> out = Stretch(Tones({440}, 1.0), row.dSpeed,
                                               static_cast<REFERENCE_TIME>(row.dStart * 1e7), row.bWithPicture);
        const Heard heard = Listen(out, {440});
        // Within the 30 ms of one frame, which at the sound's start holds some of the silence.
        EXPECT_NEAR(heard.dFirst, row.dFirstHeard, 0.03) << "speed " << row.dSpeed << ", start " << row.dStart;
        EXPECT_NEAR(Seconds(out), row.dFirstHeard + 1.0 / row.dSpeed, 0.01) << "speed " << row.dSpeed;
    }
}

// Beside a picture the sound keeps to the picture's clock: in step it lasts its length
// over the speed; when the clock has gone 0.6 s on past it (the device let it fall 0.3 s
// behind at speed 2), it plays faster, by 8 % at the most, until it is back in step.
TEST(SoundStretch, BesideAPictureASoundLeftBehindItsClockPlaysFasterUntilInStep)
{
    CComPtr<CRateClock> pClock = CComPtr<CRateClock>::Adopt(CRateClock::Create());
    ASSERT_TRUE(pClock);
    CHandleHolder event(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    REFERENCE_TIME rtNow = 0;
    DWORD_PTR dwCookie = 0;
    // A run that started 2 s ago: the sound, fed far faster than it plays, goes from 1 s
    // behind the clock to 1 s ahead of it, so that in step it never falls behind.
    pClock->GetTime(&rtNow);
    ASSERT_EQ(pClock->AdviseTime(rtNow - 20000000, 100000000, reinterpret_cast<HEVENT>(event.Get()), &dwCookie), S_OK);
    const std::vector<short> in = Tones({440}, 4.0);
    const double dInStep = Seconds(Stretch(in, 2.0, 0, true, pClock.Get()));
    EXPECT_NEAR(dInStep, 2.0, 0.02);
    const double dBehind = Seconds(Stretch(in, 2.0, 0, true, pClock.Get(), 30));
    EXPECT_LT(dBehind, dInStep - 0.005) << "the sound did not catch up";
    EXPECT_GT(dBehind, dInStep - 0.04) << "faster than the 0.3 s it was behind";
}

TEST(SoundStretch, RefusesWhatItCannotStretchAndAnOutputOtherThanItsInput)
{
    IUnknown* pInner = nullptr;
    ASSERT_EQ(CSoundStretch::CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&pInner)), S_OK);
    CComPtr<IMediaObject> pObject;
    pObject.QueryFrom(pInner);
    pInner->Release();
    WAVEFORMATEX wfx = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 6, 6, 24, 0};
    DMO_MEDIA_TYPE mt = AudioType(MEDIASUBTYPE_PCM, &wfx);
    EXPECT_EQ(pObject->SetInputType(0, &mt, DMO_SET_TYPEF_TEST_ONLY), DMO_E_TYPE_NOT_ACCEPTED);

    WAVEFORMATEX pcm = {WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0};
    mt.subtype = MEDIASUBTYPE_PCM;
    mt.pbFormat = reinterpret_cast<BYTE*>(&pcm);
    EXPECT_EQ(pObject->SetOutputType(0, &mt, 0), DMO_E_TYPE_NOT_SET);
    EXPECT_EQ(pObject->SetInputType(0, &mt, 0), S_OK);
    WAVEFORMATEX other = pcm;
    other.nSamplesPerSec = 44100;
    other.nAvgBytesPerSec = 44100;
    mt.pbFormat = reinterpret_cast<BYTE*>(&other);
    EXPECT_EQ(pObject->SetOutputType(0, &mt, 0), DMO_E_TYPE_NOT_ACCEPTED);
}

}  // namespace
