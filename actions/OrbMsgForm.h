#pragma once
// The menu's own message box: a borderless window cut from a rounded frame
// picture, with the project's icon, a word-wrapped text and a drawn OK button.
#include <functional>
#include <string>

#include "app/OrbModalForm.h"
#include "core/Picture.h"
#include "graphics/Bitmap32.h"

namespace orb {

// The message box's OK button: a window-less control painted from three pictures.
class TOKButton {
public:
    enum State { stNormal = 0, stHover = 1, stPressed = 2 };

    TOKButton();
    int width() const { return normal_.width(); }
    int height() const { return normal_.height(); }
    RECT bounds() const { return {left_, top_, left_ + width(), top_ + height()}; }
    void setPosition(int left, int top);
    bool contains(POINT p) const;
    State state() const { return state_; }

    // Pointer events; heldOnButton: the left button went down on this button and is still down.
    void mouseEnter(bool heldOnButton);
    void mouseLeave(bool heldOnButton);
    void mouseDown();
    // Answers whether the release was a click (over the button).
    bool mouseUp(bool over);

    // The state's picture stretched to the bounds and "OK" centred in the given font.
    void paint(HDC dc, HFONT font, COLORREF textColor) const;

    std::function<void()> onRepaint;
    HCURSOR cursor = nullptr;  // none: the window's

private:
    void setState(State s);
    const Bitmap32& picture() const;

    Bitmap32 normal_, hover_, pressed_;
    int left_ = 0, top_ = 0;
    State state_ = stNormal;
};

// Where the parts of a message box go, given the measured text.
struct MessageLayout {
    RECT label{};    // client coordinates
    RECT window{};   // screen coordinates
    POINT button{};  // client coordinates
};

// The width a message wraps at on a screen this wide.
int messageTextWidthLimit(int screenWidth);
MessageLayout layoutMessage(SIZE measuredText, SIZE button, SIZE screen);

// The window's picture: the frame's 16-pixel corners kept, its edges and centre stretched.
Bitmap32 BuildMessageFrame(const Bitmap32& frame, int width, int height);

class TOrbMsgForm final : public TOrbModalForm {
public:
    explicit TOrbMsgForm(Component* owner);

    // Lays the window out for the text and picks the icon (the given one only
    // when the owner is not a menu window).
    void prepare(const std::wstring& text, const Picture* icon);

    const MessageLayout& layout() const { return layout_; }
    const TOKButton& okButton() const { return button_; }
    const std::wstring& text() const { return text_; }
    bool hasIcon() const { return icon_ != nullptr; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void paint(HDC dc, const RECT& client) override;

private:
    void chooseIcon(const Picture* given);
    void mouseMove(POINT p, bool leftDown);
    void beginWindowMove();

    std::wstring text_;
    MessageLayout layout_;
    TOKButton button_;
    GdiObject background_;
    Picture ownIcon_;
    const Graphic* icon_ = nullptr;
    HCURSOR windowCursor_ = nullptr;
    bool overButton_ = false, buttonCaptured_ = false, trackingLeave_ = false;
};

// Shows text in the menu's message box owned by owner and returns when it is closed.
void ShowMessageBox(Component* owner, const std::wstring& text, const Picture* icon = nullptr);

}  // namespace orb
