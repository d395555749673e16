// Saving a document: the file appears only when the whole document was written; a
// failure is reported, leaves no partial file and keeps an existing file as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Archive.h"
#include "Document.h"
#include "File.h"
#include "MessageBoxWatcher.h"
#include "TestEnv.h"

namespace {

// Writes m_nBytes bytes of a pattern, then fails when m_bFailAfter is set.
class CPatternDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsLoading())
            return;
        std::vector<BYTE> bytes(m_nBytes);
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<BYTE>(i * 7);
        if (!bytes.empty())
            ar.GetFile()->Write(bytes.data(), static_cast<UINT>(bytes.size()));
        if (m_bFailAfter)
            throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, "");
    }
    size_t m_nBytes = 0;
    bool m_bFailAfter = false;
};

size_t CountFiles(const std::string& dir)
{
    size_t n = 0;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++n;
    } while (FindNextFileA(h, &data));
    FindClose(h);
    return n;
}

TEST(DocumentSave, WritesTheWholeDocumentAndNothingElse)
{
    std::string dir = ScratchDir("save-ok");
    CPatternDoc doc;
    doc.m_nBytes = 10000;
    doc.SetModifiedFlag(TRUE);
    CMessageBoxWatcher watcher;
    ASSERT_TRUE(doc.OnSaveDocument((dir + "\\out.bin").c_str()));
    EXPECT_TRUE(watcher.Texts().empty());
    EXPECT_EQ(ReadFileBytes(dir + "\\out.bin").size(), 10000u);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(CountFiles(dir), 1u);  // no temporary file stays behind
}

TEST(DocumentSave, FailurePartWayLeavesNoFileAndIsReported)
{
    std::string dir = ScratchDir("save-fail");
    CPatternDoc doc;
    doc.m_nBytes = 5000;
    doc.m_bFailAfter = true;
    CMessageBoxWatcher watcher;
    EXPECT_FALSE(doc.OnSaveDocument((dir + "\\out.bin").c_str()));
    ASSERT_EQ(watcher.Shown().size(), 1u);
    EXPECT_EQ(watcher.Shown()[0].text, "Failed to save document.");
    EXPECT_EQ(watcher.Shown()[0].caption, "Tandrel98");
    EXPECT_FALSE(FileExists(dir + "\\out.bin"));
    EXPECT_EQ(CountFiles(dir), 0u);
}

TEST(DocumentSave, FailureKeepsAnExistingFileAsItWas)
{
    std::string dir = ScratchDir("save-keep");
    std::vector<BYTE> old = {'o', 'l', 'd'};
    WriteFileBytes(dir + "\\out.bin", old);
    CPatternDoc doc;
    doc.m_nBytes = 5000;
    doc.m_bFailAfter = true;
    CMessageBoxWatcher watcher;
    EXPECT_FALSE(doc.OnSaveDocument((dir + "\\out.bin").c_str()));
    EXPECT_EQ(ReadFileBytes(dir + "\\out.bin"), old);
    EXPECT_EQ(CountFiles(dir), 1u);
}

TEST(DocumentSave, SuccessReplacesAnExistingFile)
{
    std::string dir = ScratchDir("save-replace");
    WriteFileBytes(dir + "\\out.bin", std::vector<BYTE>(20000, 'x'));
    CPatternDoc doc;
    doc.m_nBytes = 3;
    ASSERT_TRUE(doc.OnSaveDocument((dir + "\\out.bin").c_str()));
    EXPECT_EQ(ReadFileBytes(dir + "\\out.bin"), (std::vector<BYTE>{0, 7, 14}));
}

TEST(DocumentSave, UnreachableOrOverlongTargetsAreReported)
{
    CPatternDoc doc;
    doc.m_nBytes = 10;
    CMessageBoxWatcher watcher;
    EXPECT_FALSE(doc.OnSaveDocument("C:\\no such folder\\out.bin"));
    EXPECT_FALSE(doc.OnSaveDocument((ScratchDir("save-long") + "\\" + std::string(300, 'a')).c_str()));
    EXPECT_EQ(watcher.Texts(),
              (std::vector<std::string>{"Failed to save document.", "Failed to save document."}));
}

}  // namespace
