#pragma once
// The window procedure of every window backed by a C++ object. The object comes
// in as CreateWindowEx's parameter and is kept in the window's user data, so
// each message reaches it, including those sent while CreateWindowEx runs.
// Nothing thrown may cross into the system's dispatch, which cannot unwind
// C++ frames.
#include <windows.h>

namespace orb {

template <class Owner, HWND Owner::*Handle, LRESULT (Owner::*Handler)(UINT, WPARAM, LPARAM)>
struct InstanceWindowProc {
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_NCCREATE) {
            auto* created = static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
            if (created) created->*Handle = hwnd;
        }
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        try {
            return (self->*Handler)(msg, wp, lp);
        } catch (...) {
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
    }

    // Detached first: the messages of the window's last moments must not reach
    // an object that is being destroyed.
    static void destroy(HWND& hwnd) {
        if (!hwnd) return;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
        hwnd = nullptr;
    }
};

}  // namespace orb
