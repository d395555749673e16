// The installation dialog's animation: painting only the changes shows the classic bar's
// pictures (the blocks begun) in the same order as painting every one of the 65536 steps
// does. Each picture is read back from the control itself after every message that
// moves it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ProgressAnimation.h"
#include "ProgressBar.h"
#include "CallbackType.h"

namespace {

// A bitmap the control's picture is read back into, through WM_PRINTCLIENT: the row of
// pixels across its middle, which the horizontal bar's extent, blocks and gaps all cross.
class CPictureReader {
public:
    explicit CPictureReader(HWND hwnd) : m_hwnd(hwnd)
    {
        RECT rc;
        GetClientRect(hwnd, &rc);
        BITMAPINFO info;
        ZeroMemory(&info, sizeof(info));
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = rc.right;
        info.bmiHeader.biHeight = -1;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_cb = 4 * static_cast<size_t>(rc.right);
        m_hdc = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
        if (m_hdc != nullptr && m_hBitmap != nullptr) {
            m_hOld = SelectObject(m_hdc, m_hBitmap);
            // The middle row lands on the bitmap's only row.
            SetViewportOrgEx(m_hdc, 0, -(rc.bottom / 2), nullptr);
        }
    }
    ~CPictureReader()
    {
        if (m_hOld != nullptr)
            SelectObject(m_hdc, m_hOld);
        if (m_hBitmap != nullptr)
            DeleteObject(m_hBitmap);
        if (m_hdc != nullptr)
            DeleteDC(m_hdc);
    }
    CPictureReader(const CPictureReader&) = delete;
    CPictureReader& operator=(const CPictureReader&) = delete;

    // What the control draws right now.
    std::vector<BYTE> Read() const
    {
        if (m_hOld == nullptr)
            return std::vector<BYTE>();
        SendMessageA(m_hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_hdc), PRF_CLIENT);
        GdiFlush();
        const BYTE* pFirst = static_cast<const BYTE*>(m_pBits);
        return std::vector<BYTE>(pFirst, pFirst + m_cb);
    }

private:
    HWND m_hwnd;
    HDC m_hdc = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    void* m_pBits = nullptr;
    size_t m_cb = 0;
};

// The control's pictures, in the order they appeared. The control draws a position the
// same way each time, so each position is read back once (the 65536 steps visit about
// 8200 positions).
struct PictureLog {
    const CPictureReader* pReader = nullptr;
    std::map<LRESULT, std::vector<BYTE>> byPosition;
    std::vector<std::vector<BYTE>> pictures;
    int nMoves = 0;      // messages that move the bar, each of which paints it
    int nIdleMoves = 0;  // of those, the ones after which the picture stayed
};

PictureLog* g_pLog = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR)
{
    bool bMove = uMsg == PBM_STEPIT || uMsg == PBM_SETPOS || uMsg == PBM_DELTAPOS;
    LRESULT lBefore = bMove ? DefSubclassProc(hwnd, PBM_GETPOS, 0, 0) : 0;
    LRESULT lResult = DefSubclassProc(hwnd, uMsg, wParam, lParam);
    // A message that leaves the position where it was paints nothing.
    LRESULT lAfter = bMove ? DefSubclassProc(hwnd, PBM_GETPOS, 0, 0) : 0;
    if (bMove && lAfter != lBefore) {
        ++g_pLog->nMoves;
        auto known = g_pLog->byPosition.find(lAfter);
        if (known == g_pLog->byPosition.end())
            known = g_pLog->byPosition.emplace(lAfter, g_pLog->pReader->Read()).first;
        const std::vector<BYTE>& picture = known->second;
        if (g_pLog->pictures.empty() || picture != g_pLog->pictures.back())
            g_pLog->pictures.push_back(picture);
        else
            ++g_pLog->nIdleMoves;
    }
    return lResult;
}

TANDREL_ASSERT_CALLBACK(SUBCLASSPROC, RecordingProc);

// Runs the animation on a bar of the installation dialog's size and place, in a window
// of that dialog's template, and logs its pictures.
PictureLog Record(AnimationPaint nPaint)
{
    PictureLog log;
    HWND hwndHost = CreateWindowExA(0, "#32770", "Tandrel98 Installation",
                                    WS_POPUP | WS_CAPTION, 0, 0, 400, 200, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(hwndHost, nullptr);
    {
        CProgressBar bar(hwndHost, 20, 60, 256, 80, 1003);
        EXPECT_NE(bar.GetSafeHwnd(), nullptr);
        CPictureReader reader(bar.GetSafeHwnd());
        log.pReader = &reader;
        g_pLog = &log;
        log.pictures.push_back(reader.Read());
        EXPECT_TRUE(SetWindowSubclass(bar.GetSafeHwnd(), RecordingProc, 0, 0));
        RunProgressAnimation(bar.GetSafeHwnd(), nPaint);
        RemoveWindowSubclass(bar.GetSafeHwnd(), RecordingProc, 0);
        g_pLog = nullptr;
        log.pReader = nullptr;
    }
    DestroyWindow(hwndHost);
    return log;
}

// The bar below is 236 x 20 pixels: inside its one-pixel frame, blocks of 12 pixels (two
// thirds of its inner height) two pixels apart, as the classic bar draws them.
const int kBlockStep = 12 + 2;

// The pixels of the bar's colour across the middle row of a picture.
int Filled(const std::vector<BYTE>& picture, COLORREF crBar)
{
    int n = 0;
    for (size_t i = 0; i + 3 < picture.size(); i += 4) {
        if (RGB(picture[i + 2], picture[i + 1], picture[i]) == crBar)
            ++n;
    }
    return n;
}

// How often the bar starts over: a picture with fewer filled pixels than the one before.
int CountRestarts(const std::vector<std::vector<BYTE>>& pictures, COLORREF crBar)
{
    int nRestarts = 0;
    for (size_t i = 1; i < pictures.size(); ++i) {
        if (Filled(pictures[i], crBar) < Filled(pictures[i - 1], crBar))
            ++nRestarts;
    }
    return nRestarts;
}

// The blocks begun, picture by picture, each number once.
std::vector<int> BlocksBegun(const std::vector<std::vector<BYTE>>& pictures, COLORREF crBar)
{
    std::vector<int> counts;
    for (const std::vector<BYTE>& picture : pictures) {
        int n = (Filled(picture, crBar) + kBlockStep - 1) / kBlockStep;
        if (counts.empty() || counts.back() != n)
            counts.push_back(n);
    }
    return counts;
}

}  // namespace

TEST(ProgressAnimation, PaintingOnlyTheChangesShowsEveryPictureOfEveryStepInOrder)
{
    InitCommonControls();
    PictureLog everyStep = Record(PAINT_EVERY_STEP);
    PictureLog changes = Record(PAINT_WHEN_CHANGED);
    const COLORREF crBar = GetSysColor(COLOR_HIGHLIGHT);

    // All 65536 steps reach the control; the bar fills about forty times.
    EXPECT_EQ(everyStep.nMoves, 65536);
    int nRestarts = CountRestarts(everyStep.pictures, crBar);
    EXPECT_GE(nRestarts, 39);
    EXPECT_LE(nRestarts, 40);
    ASSERT_GT(everyStep.pictures.size(), 40u * 10u);

    // The same blocks in the same order, the control moved only to show a new picture,
    // and every picture ending on a whole block: a few hundred moves, not 65536.
    std::vector<int> expected = BlocksBegun(everyStep.pictures, crBar);
    EXPECT_GE(expected.size(), 40u * 15u);
    EXPECT_EQ(BlocksBegun(changes.pictures, crBar), expected);
    EXPECT_EQ(changes.nIdleMoves, 0);
    EXPECT_EQ(changes.nMoves + 1, static_cast<int>(changes.pictures.size()));
    EXPECT_LT(changes.nMoves, 1000);
    for (const std::vector<BYTE>& picture : changes.pictures) {
        int nFilled = Filled(picture, crBar);
        EXPECT_TRUE(nFilled == 0 || (nFilled + 2) % kBlockStep == 0 || nFilled == 234)
            << "a picture ends inside a block: " << nFilled << " pixels";
    }
}
