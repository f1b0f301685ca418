#pragma once
// The top-level window behind a form: one HWND, painted off-screen and copied
// once, kept in step with the form's properties.
#include <functional>
#include <vector>

#include "core/Form.h"
#include "framework/DrawnControl.h"
#include "framework/InstanceWindowProc.h"
#include "framework/Win32.h"

namespace orb {

class FormWindow final : public ControlPeer, public BackgroundPainter {
public:
    // Creates the window hidden; the form's client size is kept, the frame measured.
    // An owner window keeps the form off the task bar.
    FormWindow(CustomForm& form, const wchar_t* windowClass, HWND owner = nullptr);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    void changed(ControlChange what) override;

    // Asked when the user or the system closes the window; the owner decides.
    std::function<void()> onCloseRequest;
    // Paints the background over the form's colour, behind the window-less controls.
    std::function<void(HDC dc, const RECT& client)> onPaint;
    void paintBackground(HDC dc) override;
    // Sees the window's messages before the window does, in the order added;
    // returns true when it handled one, with the result in `result`.
    using MessageHandler = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;
    void addMessageHandler(MessageHandler handler) { handlers_.push_back(std::move(handler)); }

private:
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void applyStyle();
    void paint();
    DWORD style() const;
    DWORD exStyle() const;

    CustomForm& form_;
    HWND hwnd_ = nullptr;
    bool syncing_ = false;
    std::vector<MessageHandler> handlers_;  // the window is telling the form, not the other way round

    using WindowProc = InstanceWindowProc<FormWindow, &FormWindow::hwnd_, &FormWindow::handle>;
};

}  // namespace orb
