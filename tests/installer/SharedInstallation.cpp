// The installation that the tests which only read one share: made through every dialog
// of the real installer, with the checks of that way through, and removed after them.
#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"
#include "resource.h"

namespace {

// Starts from no installation and leaves the one it makes in place.
class SharedInstallation : public CInstallTest {
protected:
    void TearDown() override { m_setup.Kill(); }
};

void ExpectCentred(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2);
}

}  // namespace

TEST_F(SharedInstallation, Install)
{
    // An association another program made before, and settings of an earlier user: the
    // installation replaces both (the golden export shows it).
    WriteRegistryText(HKEY_CLASSES_ROOT, ".mpg", nullptr, "OtherPlayer.Movie");
    WriteSettingsBytes(std::vector<BYTE>(56, 0x5A));

    ASSERT_NO_FATAL_FAILURE(StartSetup(DistDir()));
    HWND hWelcome = m_setup.WaitForDialog("Welcome");
    ASSERT_NE(hWelcome, nullptr);
    EXPECT_EQ(StaticTexts(hWelcome).rfind("Welcome to Use Tandrel98.\n\n", 0), 0u)
        << StaticTexts(hWelcome);
    ExpectCentred(hWelcome);
    PressButton(hWelcome, IDOK);

    HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    EXPECT_EQ(ControlText(hDirectory, IDC_INSTALL_DIR), kDefaultInstallDir);
    ExpectCentred(hDirectory);
    PressButton(hDirectory, IDOK);

    // The installation dialog is there while the runtime setup loads, then goes away. It
    // shows only while its animation runs (a fraction of a second, which a look from
    // another process every 20 ms can miss on a busy machine) and stays, hidden, until
    // the runtime setup has ended; the animation's pictures have a test of their own.
    HWND hWorking = nullptr;
    EXPECT_TRUE(WaitFor(
        [&]() {
            return (hWorking = FindDialog(m_setup.ProcessId(), "Tandrel98 Installation", false)) !=
                   nullptr;
        },
        30000));
    ASSERT_NE(hWorking, nullptr) << "no installation dialog";
    EXPECT_EQ(StaticTexts(hWorking), "Installation ... ");

    HWND hDone = m_setup.WaitForDialog("Congratulation!", kInstallTimeoutMs);
    ASSERT_NE(hDone, nullptr);
    EXPECT_EQ(StaticTexts(hDone), "Successful Installation.\nOpen readme.txt?");
    EXPECT_EQ(FindDialog(m_setup.ProcessId(), "Tandrel98 Installation"), nullptr);
    PressButton(hDone, IDC_ANSWER_NO);
    EXPECT_EQ(m_setup.WaitForExit(), 0u);

    ExpectInstalledFrom(DistDir(), kDefaultInstallDir);
    // "No" opens nothing: once Setup has ended, nothing it started runs on.
    std::vector<std::string> running = m_setup.RunningInJob();
    EXPECT_TRUE(running.empty()) << running.front();
}

TEST_F(SharedInstallation, Remove)
{
    RemoveEverythingInstalled();
    EXPECT_FALSE(FileExists(kDefaultInstallDir));
}
