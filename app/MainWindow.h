#pragma once
// The main window's dealings with the system: window shape, opacity and
// top-most placement, the system menu's About entry, the tray icon, keys and
// dragging, cursors, and copying or printing the window's image.
#include <memory>

#include "app/OrbForm.h"
#include "framework/FormWindow.h"
#include "framework/Handles.h"

namespace orb {

inline constexpr UINT kTrayCallbackMessage = 3025;
inline constexpr UINT kAboutSeparatorCommand = 1954, kAboutCommand = 1956;

// A control that has work to do once the menu first shows (loading media,
// opening documents, starting a playlist).
class ShowAware {
public:
    virtual ~ShowAware() = default;
    virtual void formShown() = 0;
};

class MainWindow final : public FormWindowEffects {
public:
    // Becomes the form's effects for its lifetime.
    MainWindow(TOrbForm& form, FormWindow& window);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void screenSize(int32_t& width, int32_t& height) const override;
    void applyShape(const Picture& shape) override;
    void applyAlphaBlend(bool on, uint8_t value) override;
    void applyTopMost(bool on) override;
    void showAboutItem(bool shown) override;
    void copyWindowImage(bool clientOnly) override;
    void printWindowImage(bool clientOnly) override;
    void applicationTitle(const std::wstring& title) override;
    // What a print request does once a printer is chosen, on the named
    // printer and without asking; false when nothing could be printed.
    bool printWindowImageOn(const std::wstring& printerName, bool clientOnly);

    void AddTrayIcon();
    void RemoveTrayIcon();
    bool trayShown() const { return trayShown_; }
    void minimizeToTray();
    void restoreFromTray();

    // What the About entry shows; the popup-message action by default.
    std::function<void(const std::wstring& notice)> showAbout;

private:
    bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    bool previewKey(const MSG& msg);
    bool minimizesToTray() const;
    void runPending(UINT_PTR timer);
    GdiObject captureImage(bool clientOnly) const;
    bool printImage(HDC printer, HBITMAP image) const;

    TOrbForm& form_;
    FormWindow& window_;
    HWND hwnd_;
    void FormShow();

    bool aboutAdded_ = false, trayShown_ = false, shown_ = false;
    bool copyClientOnly_ = false, printClientOnly_ = false;
    std::shared_ptr<bool> alive_;  // the message filter outlives us in the application
};

// The About notice of the system menu.
const wchar_t* aboutNoticeText();

}  // namespace orb
