#pragma once
#include <functional>
#include <string>
#include <vector>

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
    // Sees every message the loops take from the queue before it is dispatched;
    // true swallows it. How a window previews keys meant for its children.
    using MessageFilter = std::function<bool(MSG& msg)>;
    void addMessageFilter(MessageFilter filter) { filters_.push_back(std::move(filter)); }
    // A hidden window that owns the main window when it must have no task-bar button.
    HWND hiddenOwner();
    ~Application();

private:
    bool filtered(MSG& msg);
    std::wstring title_;
    std::vector<MessageFilter> filters_;
    HWND hiddenOwner_ = nullptr;
};

}  // namespace orb
