#include "media/MidiPlayer.h"

#include <mmsystem.h>

namespace orb {

namespace {

constexpr wchar_t kWindowClass[] = L"TOrbMidiPlayerWindow";

void registerWindowClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

bool fileExists(const std::wstring& name) {
    DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TOrbMidiPlayer::TOrbMidiPlayer() {
    registerWindowClass(&TOrbMidiPlayer::windowProc);
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TOrbMidiPlayer::~TOrbMidiPlayer() {
    stop();
    if (window_) DestroyWindow(window_);
}

void TOrbMidiPlayer::play() {
    if (playing_) stop();
    // The end notice of a device just closed must not reach the new one.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!fileExists(fileName) || waveOutGetNumDevs() == 0) return;
    MCI_OPEN_PARMSW open{};
    open.lpstrDeviceType = L"Sequencer";
    open.lpstrElementName = fileName.c_str();
    if (mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return;
    device_ = open.wDeviceID;
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(window_);
    mciSendCommandW(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&parms));
    playing_ = true;
}

void TOrbMidiPlayer::stop() {
    if (!playing_) return;
    mciSendCommandW(device_, MCI_CLOSE, 0, 0);
    playing_ = false;
}

void TOrbMidiPlayer::finished() {
    if (!loop) {
        stop();
        return;
    }
    // After a stop the device is closed: both commands then fail, harmlessly.
    mciSendCommandW(device_, MCI_SEEK, MCI_SEEK_TO_START, 0);
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(window_);
    mciSendCommandW(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&parms));
}

LRESULT CALLBACK TOrbMidiPlayer::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == MM_MCINOTIFY) {
        if (auto* self = reinterpret_cast<TOrbMidiPlayer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) self->finished();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace orb
