// The application object in this process, on scripted graphs: files dropped on the main
// window and the recent-file list they enter.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelApp.h"
#include "NTandrelDoc.h"
#include "TestEnv.h"
#include "Wnd.h"

CNTandrelApp theApp;

namespace {

const char kCantPlay[] = "Can't play this file! \nTandrel98 may not recognize this file type or "
                         "this file in the CD-ROM is damaged. ";

// A drop as the shell hands it to a window: DROPFILES and the names, each ended by a NUL,
// then one more.
HDROP MakeDrop(const std::vector<std::string>& files)
{
    size_t cb = sizeof(DROPFILES) + 1;
    for (const std::string& file : files)
        cb += file.size() + 1;
    HGLOBAL hDrop = GlobalAlloc(GHND, cb);
    DROPFILES* pDrop = static_cast<DROPFILES*>(GlobalLock(hDrop));
    pDrop->pFiles = sizeof(DROPFILES);
    char* p = reinterpret_cast<char*>(pDrop + 1);
    for (const std::string& file : files)
        p += file.copy(p, file.size()) + 1;
    GlobalUnlock(hDrop);
    return static_cast<HDROP>(hDrop);
}

class PlayerApp : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        DeleteFileA(Profile().c_str());
        for (CFakeGraph& graph : m_graphs)
            m_factory.Queue(&graph);
        theApp.m_lpCmdLine = "C:\\media\\start.mpg";
        ASSERT_TRUE(theApp.InitInstance());
        ASSERT_NE(theApp.m_pMainWnd, nullptr);
    }
    void TearDown() override
    {
        if (theApp.m_pMainWnd != nullptr)
            theApp.m_pMainWnd->SendMessage(WM_CLOSE);
        theApp.ExitInstance();
        DeleteFileA(Profile().c_str());
    }
    static std::string Profile()
    {
        char szWindows[MAX_PATH] = "";
        GetWindowsDirectoryA(szWindows, MAX_PATH);
        return std::string(szWindows) + "\\Tandrel98.INI";
    }
    void Drop(const std::vector<std::string>& files)
    {
        theApp.m_pMainWnd->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)));
    }
    std::vector<std::wstring> Rendered() const
    {
        std::vector<std::wstring> files;
        for (const CFakeGraph& graph : m_graphs) {
            if (!graph.RenderedFile().empty())
                files.push_back(graph.RenderedFile());
        }
        return files;
    }

    CFakeGraphFactory m_factory;
    CFakeGraph m_graphs[7];
    CMessageBoxWatcher m_boxes;
};

TEST_F(PlayerApp, DroppedFilesOpenInTurnAndTheLastStaysStoppedANameTooLongIsRefusedWhole)
{
    const std::string longName = "C:\\media\\" + std::string(300, 'x') + ".mpg";
    Drop({"C:\\media\\b.mpg", longName, "C:\\media\\c two.mpg", "D:\\d.avi"});

    EXPECT_EQ(Rendered(), (std::vector<std::wstring>{L"C:\\media\\start.mpg", L"C:\\media\\b.mpg",
                                                      L"C:\\media\\c two.mpg", L"D:\\d.avi"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kCantPlay});
    ASSERT_NE(theApp.m_pDoc, nullptr);
    EXPECT_STREQ(theApp.m_pDoc->m_szMediaPath, "D:\\d.avi");
    EXPECT_EQ(theApp.m_pDoc->m_nPlayState, PLAY_STOPPED);
    EXPECT_EQ(m_graphs[3].State(), State_Stopped);
}

TEST_F(PlayerApp, TheRecentFileListKeepsTheFiveNewestAndMovesARepeatedOneToTheTop)
{
    Drop({"C:\\m\\1.mpg", "C:\\m\\2.mpg", "C:\\m\\3.mpg", "C:\\m\\4.mpg", "C:\\m\\5.mpg", "C:\\m\\2.mpg"});
    EXPECT_EQ(theApp.GetRecentFileList(),
              (std::vector<std::string>{"C:\\m\\2.mpg", "C:\\m\\5.mpg", "C:\\m\\4.mpg",
                                        "C:\\m\\3.mpg", "C:\\m\\1.mpg"}));
}

}  // namespace
