#include "actions/OrbUtils.h"

#include "app/OrbModalForm.h"
#include "framework/Fonts.h"

namespace orb {

namespace {

constexpr int kClientWidth = 300, kClientHeight = 90;
constexpr int kEditId = 100, kPromptId = 101;

// A plain system-styled dialog: prompt, one edit line, OK and Cancel.
class TModalDialog final : public TOrbModalForm {
public:
    TModalDialog(Component* owner, const std::wstring& caption, const std::wstring& prompt, bool masked,
                 const std::wstring& text)
        : TOrbModalForm(owner) {
        Font face;
        face.charset = DEFAULT_CHARSET;
        face.color = kClWindowText;
        face.height = -11;
        face.name = "Tahoma";
        face.style = 0;
        ApplyVistaFont(face);
        setFont(createFont(face));
        setColor(GetSysColor(COLOR_BTNFACE));

        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPCHILDREN;
        const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        RECT frame{0, 0, kClientWidth, kClientHeight};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        int w = frame.right - frame.left, h = frame.bottom - frame.top;
        int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
        createWindow(style, exStyle, caption, RECT{x, y, x + w, y + h});

        // Creation order is the tab order: the prompt's accelerator moves on to the edit line after it.
        SIZE promptSize = measure(prompt);
        child(L"STATIC", prompt, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, {8, 8, 8 + promptSize.cx, 8 + promptSize.cy},
              kPromptId);
        edit_ = child(L"EDIT", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (masked ? ES_PASSWORD : 0),
                      WS_EX_CLIENTEDGE, {8, 26, 8 + 284, 26 + 21}, kEditId);
        if (masked) SendMessageW(edit_, EM_SETPASSWORDCHAR, L'*', 0);
        child(L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {55, 57, 55 + 75, 57 + 25},
              IDOK);
        child(L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
              {170, 57, 170 + 75, 57 + 25}, IDCANCEL);
        SendMessageW(edit_, EM_SETSEL, 0, -1);
        focus_ = edit_;  // takes the focus when the dialog first becomes active
    }

    std::wstring editText() const {
        std::wstring s(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
        s.resize(static_cast<size_t>(GetWindowTextW(edit_, s.data(), static_cast<int>(s.size()))));
        return s;
    }

protected:
    // Tab, Enter, Escape and accelerators work as in any dialog.
    bool preTranslate(MSG& msg) override { return IsDialogMessageW(hwnd(), &msg) != FALSE; }

    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
            case WM_COMMAND:
                if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
                    close(LOWORD(wp) == IDOK ? mrOk : mrCancel);
                    return 0;
                }
                break;
            case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
            case WM_NEXTDLGCTL: {
                // The dialog keys (Tab, accelerators) move the focus through this message.
                HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd(), GetFocus(), wp != 0);
                if (target) {
                    SetFocus(target);
                    if (target == edit_) SendMessageW(edit_, EM_SETSEL, 0, -1);
                }
                return 0;
            }
            case WM_ACTIVATE:
                // Coming back to the dialog puts the caret back where it was.
                if (LOWORD(wp) == WA_INACTIVE) {
                    focus_ = GetFocus();
                } else if (focus_ && IsChild(hwnd(), focus_)) {
                    SetFocus(focus_);
                    return 0;
                }
                break;
            default: break;
        }
        return TOrbModalForm::handleMessage(msg, wp, lp);
    }

private:
    HWND child(const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, RECT r, int id) {
        HWND h = CreateWindowExW(exStyle, cls, text.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 nullptr);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
        return h;
    }

    // The prompt sizes itself to its text, accelerator marks left out.
    SIZE measure(const std::wstring& text) const {
        HDC dc = GetDC(hwnd());
        HGDIOBJ old = SelectObject(dc, font());
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        SelectObject(dc, old);
        ReleaseDC(hwnd(), dc);
        return {r.right - r.left, r.bottom - r.top};
    }

    HWND edit_ = nullptr;
    HWND focus_ = nullptr;
};

}  // namespace

bool InputDialog(Component* owner, const std::wstring& caption, const std::wstring& prompt, bool masked,
                 std::wstring& text) {
    TModalDialog dialog(owner, caption, prompt, masked, text);
    if (dialog.showModal() != mrOk) return false;
    text = dialog.editText();
    return true;
}

}  // namespace orb
