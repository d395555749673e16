#include "LoopbackServer.h"

#include "TestEnv.h"

CLoopbackServer::CLoopbackServer(const std::string& filePath, bool bStall)
    : m_body(ReadFileBytes(filePath)), m_bStall(bStall)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int cbAddress = sizeof(address);
    if (m_listener == INVALID_SOCKET ||
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_listener, 4) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &cbAddress) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread(&CLoopbackServer::Serve, this);
}

CLoopbackServer::~CLoopbackServer()
{
    m_bStop = true;
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
    if (m_thread.joinable())
        m_thread.join();
    for (SOCKET held : m_held)
        closesocket(held);
    WSACleanup();
}

std::string CLoopbackServer::Url(const std::string& name) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + "/" + name;
}

void CLoopbackServer::Serve()
{
    while (!m_bStop) {
        // Wait at most a quarter second at a time, so that the destructor is not held.
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval timeout = {0, 250000};
        if (select(0, &readable, nullptr, nullptr, &timeout) <= 0)
            continue;
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        // Read the request head (up to the blank line, or what fits).
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 16384) {
            int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            request.append(buffer, n);
        }
        ++m_nRequests;
        if (m_bStall) {
            m_held.push_back(client);
            continue;
        }
        std::string head = "HTTP/1.0 200 OK\r\nContent-Type: video/mpeg\r\nContent-Length: " +
                           std::to_string(m_body.size()) + "\r\nConnection: close\r\n\r\n";
        send(client, head.data(), static_cast<int>(head.size()), 0);
        bool bHead = request.compare(0, 5, "HEAD ") == 0;
        for (size_t sent = 0; !bHead && sent < m_body.size();) {
            int n = send(client, reinterpret_cast<const char*>(m_body.data()) + sent,
                         static_cast<int>(std::min<size_t>(65536, m_body.size() - sent)), 0);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}
