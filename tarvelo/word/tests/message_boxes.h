// Message boxes in tests: a watcher thread answers every message box of this process whose
// caption is the add-in's title with OK, and keeps what it said.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tarvelo_word::test_support {

class MessageBoxes {
public:
    // `anyProcess`: also the message boxes of other processes (the add-in inside Word's).
    explicit MessageBoxes(bool anyProcess = false) : anyProcess_(anyProcess), thread_([this] { Watch(); }) {}
    ~MessageBoxes() {
        stop_ = true;
        thread_.join();
    }
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    std::vector<std::wstring> Texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    struct Search {
        MessageBoxes* self;
        DWORD process;
    };
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto& search = *reinterpret_cast<Search*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (!search.self->anyProcess_ && process != search.process) return TRUE;
        wchar_t name[16] = {}, caption[64] = {};
        // Neither call sends a message: the window's thread may be busy, or waiting for this one.
        GetClassNameW(window, name, 16);
        InternalGetWindowText(window, caption, 64);
        // A message box's text is its static control 0xFFFF.
        HWND text = GetDlgItem(window, 0xFFFF);
        if (std::wstring_view(name) != L"#32770" || std::wstring_view(caption) != L"Tarvelo" || text == nullptr)
            return TRUE;
        wchar_t said[512] = {};
        InternalGetWindowText(text, said, 512);
        {
            std::lock_guard lock(search.self->mutex_);
            search.self->texts_.emplace_back(said);
        }
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        // Wait until it is gone, so that it is counted once.
        for (int i = 0; i < 500 && IsWindow(window); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return TRUE;
    }
    void Watch() {
        while (!stop_) {
            Search search{this, GetCurrentProcessId()};
            EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    mutable std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::atomic<bool> stop_{false};
    bool anyProcess_;
    std::thread thread_;
};

}  // namespace tarvelo_word::test_support
