// The application object in this process, on fake media: files dropped on the main
// window, the group chosen in the Open dialog, and the recent-file list.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "FakeGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelApp.h"
#include "NTandrelDoc.h"
#include "TestEnv.h"
#include "Wnd.h"
#include "resource.h"

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
    // Ends the current media: the document takes the graph's end of stream.
    void EndOfStream()
    {
        for (CFakeGraph& graph : m_graphs) {
            if (Plays(theApp.m_pDoc->m_pGraph, graph))
                graph.QueueEvent(kGraphEventComplete);
        }
        theApp.m_pDoc->HandleGraphEvent();
    }
    void Drop(const std::vector<std::string>& files)
    {
        theApp.m_pMainWnd->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)));
    }
    // What the graphs rendered, in the order they were made.
    std::vector<std::string> Rendered() const
    {
        std::vector<std::string> files;
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

    EXPECT_EQ(Rendered(), (std::vector<std::string>{"C:\\media\\start.mpg", "C:\\media\\b.mpg",
                                                     "C:\\media\\c two.mpg", "D:\\d.avi"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kCantPlay});
    ASSERT_NE(theApp.m_pDoc, nullptr);
    EXPECT_STREQ(theApp.m_pDoc->m_szMediaPath, "D:\\d.avi");
    EXPECT_EQ(theApp.m_pDoc->m_nPlayState, PLAY_STOPPED);
    EXPECT_EQ(m_graphs[3].State(), GRAPH_STOPPED);
}

TEST_F(PlayerApp, TheRecentFileListKeepsTheFiveNewestAndMovesARepeatedOneToTheTop)
{
    Drop({"C:\\m\\1.mpg", "C:\\m\\2.mpg", "C:\\m\\3.mpg", "C:\\m\\4.mpg", "C:\\m\\5.mpg", "C:\\m\\2.mpg"});
    EXPECT_EQ(theApp.GetRecentFileList(),
              (std::vector<std::string>{"C:\\m\\2.mpg", "C:\\m\\5.mpg", "C:\\m\\4.mpg",
                                        "C:\\m\\3.mpg", "C:\\m\\1.mpg"}));
}

// Four files chosen together play d, b, c, a: the one listed last first, the first one
// last. A second Open dialog cancelled leaves that group in force; neither its advance
// nor an Open Internet address enters the recent-file list. Of 300 files, 256 take part.
TEST_F(PlayerApp, AGroupPlaysTheLastListedFirstAndOnlyItsFirstFileIsRecent)
{
    const std::string dir = ScratchDir("group");
    for (const char* pszName : {"a.mpg", "b.mpg", "c.mpg", "d.mpg"})
        WriteFileBytes(dir + "\\" + pszName, {0});
    {
        CDialogDriver driver("Open Media Files", [&](HWND hDlg) {
            Type(FileNameBox(hDlg), dir);
            Press(hDlg, IDOK);
            Type(FileNameBox(hDlg), "\"a.mpg\" \"b.mpg\" \"c.mpg\" \"d.mpg\"");
            Press(hDlg, IDOK);
        });
        theApp.OnFileOpen();
    }
    {
        CDialogDriver driver("Open Media Files", [](HWND hDlg) { Press(hDlg, IDCANCEL); });
        theApp.OnFileOpen();
    }
    for (int i = 0; i < 3; ++i)
        EndOfStream();
    {
        CDialogDriver driver("Open", [](HWND hDlg) {
            Type(GetDlgItem(hDlg, IDC_URL), "C:\\net\\clip.mpg");
            Press(hDlg, IDOK);
        });
        theApp.OnOpenInternet();
    }
    EXPECT_EQ(Rendered(), (std::vector<std::string>{"C:\\media\\start.mpg", dir + "\\d.mpg",
                                                     dir + "\\b.mpg", dir + "\\c.mpg", dir + "\\a.mpg",
                                                     "C:\\net\\clip.mpg"}));
    EXPECT_EQ(theApp.GetRecentFileList(),
              (std::vector<std::string>{dir + "\\d.mpg", "C:\\media\\start.mpg"}));

    std::string names("C:\\m", 5);
    for (int i = 1; i <= 300; ++i)
        names += "f" + std::to_string(i) + ".mpg" + std::string(1, '\0');
    names.copy(theApp.m_szOpenFiles, names.size());
    theApp.m_szOpenFiles[names.size()] = '\0';
    EXPECT_EQ(theApp.BuildGroup(), 256);
    theApp.m_nGroupNext = 0;
    std::string first;
    EXPECT_TRUE(theApp.NextInGroup(&first));
    EXPECT_EQ(first, "C:\\m\\f256.mpg");
}

}  // namespace
