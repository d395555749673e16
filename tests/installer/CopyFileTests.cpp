// Copying one file: bytes on disk, and what is left when a copy can't be completed.
#include <gtest/gtest.h>

#include <thread>

#include "FileCopy.h"
#include "Holders.h"
#include "TestEnv.h"

namespace {

std::vector<BYTE> Pattern(size_t cb)
{
    std::vector<BYTE> bytes(cb);
    for (size_t i = 0; i < cb; ++i)
        bytes[i] = static_cast<BYTE>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// A pipe that the copy reads from or writes to, served by a thread of its own that moves
// a fixed number of bytes and then hangs up, the way a failing medium stops part-way.
class CBrokenPipe {
public:
    CBrokenPipe(const char* pszName, DWORD dwDirection)
        : m_name(std::string("\\\\.\\pipe\\") + pszName),
          m_pipe(CreateNamedPipeA(m_name.c_str(), dwDirection, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                  4096, 4096, 0, nullptr))
    {
    }
    ~CBrokenPipe()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    CBrokenPipe(const CBrokenPipe&) = delete;
    CBrokenPipe& operator=(const CBrokenPipe&) = delete;

    const std::string& Name() const { return m_name; }
    bool IsValid() const { return m_pipe.IsValid(); }

    // Sends cb bytes to the reader, then hangs up.
    void ServeBytes(size_t cb)
    {
        m_thread = std::thread([this, cb] {
            ConnectNamedPipe(m_pipe.Get(), nullptr);
            std::vector<BYTE> bytes = Pattern(cb);
            DWORD cbWritten = 0;
            WriteFile(m_pipe.Get(), bytes.data(), static_cast<DWORD>(cb), &cbWritten, nullptr);
            FlushFileBuffers(m_pipe.Get());
            DisconnectNamedPipe(m_pipe.Get());
        });
    }
    // Takes cb bytes from the writer, then hangs up.
    void AcceptBytes(size_t cb)
    {
        m_thread = std::thread([this, cb] {
            ConnectNamedPipe(m_pipe.Get(), nullptr);
            std::vector<BYTE> bytes(cb);
            size_t cbTotal = 0;
            while (cbTotal < cb) {
                DWORD cbRead = 0;
                if (!ReadFile(m_pipe.Get(), bytes.data() + cbTotal,
                              static_cast<DWORD>(cb - cbTotal), &cbRead, nullptr) ||
                    cbRead == 0)
                    break;
                cbTotal += cbRead;
            }
            m_cbAccepted = cbTotal;
            DisconnectNamedPipe(m_pipe.Get());
        });
    }
    size_t Accepted()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_cbAccepted;
    }

private:
    std::string m_name;
    CHandleHolder m_pipe;
    std::thread m_thread;
    size_t m_cbAccepted = 0;
};

}  // namespace

// Each copy replaces a longer file of the same name entirely.
TEST(CopyOneFile, CopiesEveryByteWhateverTheSizeAgainstTheBlockOverALongerFile)
{
    std::string dir = ScratchDir("copy-sizes");
    for (size_t cb : {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(4097),
                      size_t(3 * 4096 + 17)}) {
        SCOPED_TRACE(cb);
        std::string source = dir + "\\source.bin";
        std::string target = dir + "\\target.bin";
        WriteFileBytes(source, Pattern(cb));
        WriteFileBytes(target, std::vector<BYTE>(5 * 4096, 0xEE));
        EXPECT_TRUE(CopyOneFile(source.c_str(), target.c_str()));
        EXPECT_EQ(ReadFileBytes(target), Pattern(cb));
    }
}

TEST(CopyOneFile, AMissingSourceOrAnUncreatableTargetCopiesNothing)
{
    std::string dir = ScratchDir("copy-missing");
    EXPECT_FALSE(CopyOneFile((dir + "\\absent.bin").c_str(), (dir + "\\target.bin").c_str()));
    EXPECT_FALSE(FileExists(dir + "\\target.bin"));

    WriteFileBytes(dir + "\\source.bin", Pattern(100));
    EXPECT_FALSE(
        CopyOneFile((dir + "\\source.bin").c_str(), (dir + "\\no-such-dir\\target.bin").c_str()));
    // The source was released: it can be deleted at once.
    EXPECT_TRUE(DeleteFileA((dir + "\\source.bin").c_str()));
}

// A read that fails part-way leaves no cut-off file; a write that fails part-way is
// reported and stops the copy.
TEST(CopyOneFile, AReadOrWriteThatFailsPartWayFailsTheCopyAndLeavesNoCutOffFile)
{
    std::string dir = ScratchDir("copy-brokenoff");
    CBrokenPipe reading("tandrel-copy-read", PIPE_ACCESS_OUTBOUND);
    ASSERT_TRUE(reading.IsValid());
    // More than one block arrives, then the source breaks off.
    reading.ServeBytes(6000);
    std::string target = dir + "\\target.bin";
    EXPECT_FALSE(CopyOneFile(reading.Name().c_str(), target.c_str()));
    EXPECT_FALSE(FileExists(target));

    std::string source = dir + "\\source.bin";
    WriteFileBytes(source, Pattern(5 * 4096));
    CBrokenPipe writing("tandrel-copy-write", PIPE_ACCESS_INBOUND);
    ASSERT_TRUE(writing.IsValid());
    // The target takes one block and then refuses the rest.
    writing.AcceptBytes(4096);
    EXPECT_FALSE(CopyOneFile(source.c_str(), writing.Name().c_str()));
    EXPECT_EQ(writing.Accepted(), 4096u);
}

TEST(InstallFile, APathThatWouldNotFitIsNotCopiedUnderAShortenedName)
{
    std::string dir = ScratchDir("install-long");
    WriteFileBytes(dir + "\\readme.txt", Pattern(10));
    // An existing directory whose name leaves room for only part of "\\readme.txt".
    std::string target = dir + "\\" + std::string(MAX_PATH - dir.size() - 8, 't');
    RemoveDirectoryA(target.c_str());
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    InstallFile(target.c_str(), dir.c_str(), "readme.txt");
    std::string shortened = (target + "\\readme.txt").substr(0, MAX_PATH - 1);
    EXPECT_FALSE(FileExists(shortened)) << shortened;
    WIN32_FIND_DATAA data;
    CFindHolder find(FindFirstFileA((target + "\\r*").c_str(), &data));
    EXPECT_FALSE(find.IsValid()) << "found " << data.cFileName;
    RemoveDirectoryA(target.c_str());
}
