#pragma once
#include <functional>
#include <string>

#include "framework/Win32.h"

namespace orb {

// The process's message loop and title.
class Application {
public:
    static Application& instance();
    void setTitle(const std::wstring& title) { title_ = title; }
    const std::wstring& title() const { return title_; }
    // Runs until the main window is gone; answers the exit code.
    int run();
    // One pass over waiting messages, returning at once.
    void processMessages();
    // A hidden window that owns the main window when it must have no task-bar button.
    HWND hiddenOwner();
    ~Application();

private:
    std::wstring title_;
    HWND hiddenOwner_ = nullptr;
};

}  // namespace orb
