// Answers the message boxes this process shows while the watcher lives: a background
// thread finds each box, records its caption and text and presses its first button.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ShownMessage {
    std::string caption;
    std::string text;
};

class CMessageBoxWatcher {
public:
    CMessageBoxWatcher();
    ~CMessageBoxWatcher();
    CMessageBoxWatcher(const CMessageBoxWatcher&) = delete;
    CMessageBoxWatcher& operator=(const CMessageBoxWatcher&) = delete;

    // The boxes answered so far, oldest first.
    std::vector<ShownMessage> Shown() const;
    // Their texts alone.
    std::vector<std::string> Texts() const;

private:
    void Run();

    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_lock;
    std::vector<ShownMessage> m_shown;
    std::thread m_thread;
};
