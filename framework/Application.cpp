#include "framework/Application.h"

namespace orb {

Application& Application::instance() {
    static Application app;
    return app;
}

int Application::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (filtered(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

bool Application::filtered(MSG& msg) {
    for (const MessageFilter& filter : filters_) {
        try {
            if (filter(msg)) return true;
        } catch (...) {
            // a filter that fails lets the message through
        }
    }
    return false;
}

HWND Application::hiddenOwner() {
    if (!hiddenOwner_)
        hiddenOwner_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr);
    return hiddenOwner_;
}

Application::~Application() {
    if (hiddenOwner_) DestroyWindow(hiddenOwner_);
}

void Application::processMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) break;
        if (filtered(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace orb
