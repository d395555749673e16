// Saving the document writes a byte-for-byte copy of the media file under the new name.
// The fake media does not read the file, so the sources are real files made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "Holders.h"

namespace {

const char kSaveFailed[] = "Failed to save document.";

// Bytes that differ from one 4096-byte block to the next, so that a block written twice,
// skipped or shifted shows up.
std::vector<BYTE> Pattern(size_t cb)
{
    std::vector<BYTE> bytes(cb);
    for (size_t i = 0; i < cb; ++i)
        bytes[i] = static_cast<BYTE>((i * 131u + (i >> 12) * 17u + 3u) & 0xFF);
    return bytes;
}

class SaveCopyTest : public CDocumentFixture {
protected:
    void SetUp() override
    {
        CDocumentFixture::SetUp();
        // A folder of its own for each test, so that tests may run side by side.
        const testing::TestInfo* pTest = testing::UnitTest::GetInstance()->current_test_info();
        m_name = std::string("save-") + pTest->name();
        std::replace(m_name.begin(), m_name.end(), '/', '-');
        m_dir = ScratchDir(m_name.c_str());
        m_source = m_dir + "\\source.mpg";
        m_target = m_dir + "\\copy.mpg";
        m_pDoc.reset(new CNTandrelDoc);
    }

    // Makes the source file and opens it as the current media.
    void OpenSource(const std::vector<BYTE>& bytes)
    {
        WriteFileBytes(m_source, bytes);
        m_factory.Queue(&m_first);
        ASSERT_TRUE(m_pDoc->OnOpenDocument(m_source.c_str()));
    }

    // The names of the files in the scratch folder, sorted.
    std::vector<std::string> FilesInDir() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        CFindHolder find(FindFirstFileA((m_dir + "\\*").c_str(), &data));
        if (!find.IsValid())
            return names;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(data.cFileName);
        } while (FindNextFileA(find.Get(), &data));
        std::sort(names.begin(), names.end());
        return names;
    }

    // A refused save: the framework's report, and the document holds no source open.
    void ExpectSaveRefused(const std::string& target)
    {
        EXPECT_FALSE(m_pDoc->OnSaveDocument(target.c_str()));
        const std::vector<ShownMessage> shown = m_boxes.Shown();
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(kSaveFailed, shown[0].text);
        EXPECT_EQ("Tandrel98", shown[0].caption);
        EXPECT_EQ(nullptr, m_pDoc->m_pCopySource);
    }

    std::string m_name, m_dir, m_source, m_target;
};

class CopySizeTest : public SaveCopyTest, public testing::WithParamInterface<size_t> {};

TEST_P(CopySizeTest, CopyIsByteForByte)
{
    const std::vector<BYTE> bytes = Pattern(GetParam());
    ASSERT_NO_FATAL_FAILURE(OpenSource(bytes));

    EXPECT_TRUE(m_pDoc->OnSaveDocument(m_target.c_str()));

    EXPECT_EQ(bytes, ReadFileBytes(m_target));
    EXPECT_EQ(bytes, ReadFileBytes(m_source));
    EXPECT_EQ((std::vector<std::string>{"copy.mpg", "source.mpg"}), FilesInDir());
    EXPECT_EQ(nullptr, m_pDoc->m_pCopySource);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(PLAY_STOPPED, m_pDoc->m_nPlayState);  // saving leaves the media alone
}

INSTANTIATE_TEST_SUITE_P(Sizes, CopySizeTest,
                         testing::Values(size_t{0}, size_t{4095}, size_t{4096}, size_t{4097},
                                         size_t{1048577}));

TEST_F(SaveCopyTest, CopyReplacesALongerExistingFileWhole)
{
    const std::vector<BYTE> bytes = Pattern(100);
    WriteFileBytes(m_target, std::vector<BYTE>(10000, 0x5A));
    ASSERT_NO_FATAL_FAILURE(OpenSource(bytes));

    EXPECT_TRUE(m_pDoc->OnSaveDocument(m_target.c_str()));

    EXPECT_EQ(bytes, ReadFileBytes(m_target));
}

TEST_F(SaveCopyTest, WithoutMediaTheSaveFails)
{
    ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(m_target));
    EXPECT_TRUE(FilesInDir().empty());
}

class OwnPathTest : public SaveCopyTest, public testing::WithParamInterface<const char*> {};

TEST_P(OwnPathTest, SavingOntoTheMediaItselfIsRefused)
{
    const std::vector<BYTE> bytes = Pattern(5000);
    ASSERT_NO_FATAL_FAILURE(OpenSource(bytes));
    const std::string spelling = GetParam();
    std::string target = m_source;
    if (spelling == "upper case")
        CharUpperA(&target[0]);
    else if (spelling == "dot folder")
        target = m_dir + "\\.\\source.mpg";
    else if (spelling == "up and down")
        target = m_dir + "\\..\\tandrel-" + m_name + "\\source.mpg";

    ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(target));

    EXPECT_EQ(bytes, ReadFileBytes(m_source));
    EXPECT_EQ(std::vector<std::string>{"source.mpg"}, FilesInDir());
}

INSTANTIATE_TEST_SUITE_P(Spellings, OwnPathTest,
                         testing::Values("same", "upper case", "dot folder", "up and down"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(SaveCopyTest, VanishedSourceLeavesNoTarget)
{
    ASSERT_NO_FATAL_FAILURE(OpenSource(Pattern(9000)));
    ASSERT_TRUE(DeleteFileA(m_source.c_str()));

    ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(m_target));

    EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(SaveCopyTest, FailedSaveKeepsAnExistingTargetAsItWas)
{
    const std::vector<BYTE> old = Pattern(777);
    WriteFileBytes(m_target, old);
    ASSERT_NO_FATAL_FAILURE(OpenSource(Pattern(9000)));
    ASSERT_TRUE(DeleteFileA(m_source.c_str()));

    ASSERT_NO_FATAL_FAILURE(ExpectSaveRefused(m_target));

    EXPECT_EQ(old, ReadFileBytes(m_target));
    EXPECT_EQ(std::vector<std::string>{"copy.mpg"}, FilesInDir());
}

}  // namespace
