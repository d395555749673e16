// A small HTTP server on the loopback address that serves one file, for the player's
// Open Internet path. It answers until it is destroyed.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

class CLoopbackServer {
public:
    // Serves the bytes of filePath under every request path; a stalling server takes
    // each request and then sends nothing, holding the connection until it is destroyed.
    explicit CLoopbackServer(const std::string& filePath, bool bStall = false);
    ~CLoopbackServer();
    CLoopbackServer(const CLoopbackServer&) = delete;
    CLoopbackServer& operator=(const CLoopbackServer&) = delete;

    bool IsListening() const { return m_port != 0; }
    // The address of a file name on this server.
    std::string Url(const std::string& name) const;
    int Requests() const { return m_nRequests; }

private:
    void Serve();

    std::vector<BYTE> m_body;
    bool m_bStall = false;
    std::vector<SOCKET> m_held;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<int> m_nRequests{0};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};
