#pragma once
// The base of the program's modal windows: a top-level window owned by the
// window of the component that opens it, run by a message loop of its own
// while that owner is disabled.
#include <string>

#include "core/Component.h"
#include "core/Font.h"
#include "framework/Handles.h"
#include "framework/InstanceWindowProc.h"

namespace orb {

enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TOrbModalForm {
public:
    // owner: the component the window belongs to; its window (when it has one)
    // becomes the owner window, so the modal window stays above it.
    explicit TOrbModalForm(Component* owner);
    virtual ~TOrbModalForm();
    TOrbModalForm(const TOrbModalForm&) = delete;
    TOrbModalForm& operator=(const TOrbModalForm&) = delete;

    HWND hwnd() const { return hwnd_; }
    Component* owner() const { return owner_; }
    HWND ownerWindow() const { return ownerWindow_; }

    // Shows the window and returns when it closes, with the result it closed with.
    int showModal();
    // Ends the modal loop; the window stays until the object goes.
    void close(int result);
    int modalResult() const { return modalResult_; }

    // The window's font, handed to child windows and used for painting.
    HFONT font() const { return static_cast<HFONT>(font_.get()); }
    void setFont(GdiObject font);
    COLORREF color() const { return color_; }
    void setColor(COLORREF color);

protected:
    void createWindow(DWORD style, DWORD exStyle, const std::wstring& caption, const RECT& bounds);
    // Messages of the window; what is not handled goes to defaultHandling.
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT defaultHandling(UINT msg, WPARAM wp, LPARAM lp);
    // Paints the client area off-screen, over the window's colour.
    virtual void paint(HDC, const RECT&) {}
    // A chance to take a message before it is dispatched (dialog keys); true when taken.
    virtual bool preTranslate(MSG&) { return false; }

private:
    void paintWindow();

    Component* owner_;
    HWND ownerWindow_ = nullptr;
    HWND hwnd_ = nullptr;
    int modalResult_ = mrNone;
    bool inLoop_ = false;
    GdiObject font_;
    COLORREF color_;

    // Messages reach the most derived handleMessage.
    using WindowProc = InstanceWindowProc<TOrbModalForm, &TOrbModalForm::hwnd_, &TOrbModalForm::handleMessage>;
};

// The window of a component when it is a windowed control that has one.
HWND windowOfComponent(const Component* component);

bool IsWindowsVistaOrLater();
// Dialogs on newer systems take the system's dialog face: one point larger and
// named "Segoe UI", when that face is installed and not already in use.
void ApplyVistaFont(Font& font);
void ApplyVistaFont(Font& font, bool vistaOrLater, bool segoeInstalled);

}  // namespace orb
