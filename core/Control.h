#pragma once
// Controls as the component stream sees them: bounds, visibility, page tag,
// font, colour, hint, cursor and caption, plus the framework's standard
// published properties that an authoring tool writes. What a control looks like
// on screen is its peer's business (the Windows layer).
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "core/Font.h"
#include "core/Identifiers.h"

namespace orb {

class WinControl;
class Control;

enum class ControlChange { Bounds, Visible, Enabled, Caption, Color, Font, Parent, Cursor, Hint, Repaint };

// The platform side of a control; the core calls it after every change that shows.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void changed(ControlChange what) = 0;
};

class SizeConstraints final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    int32_t maxHeight = 0, maxWidth = 0, minHeight = 0, minWidth = 0;
};

class Control : public Component {
public:
    explicit Control(Component* owner);
    ~Control() override;
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    WinControl* parent() const { return parent_; }
    void setParent(WinControl* parent);

    int32_t left() const { return left_; }
    int32_t top() const { return top_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    void setLeft(int32_t v) { setBounds(v, top_, width_, height_); }
    void setTop(int32_t v) { setBounds(left_, v, width_, height_); }
    virtual void setWidth(int32_t v) { setBounds(left_, top_, v, height_); }
    virtual void setHeight(int32_t v) { setBounds(left_, top_, width_, v); }
    virtual void setBounds(int32_t left, int32_t top, int32_t width, int32_t height);

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);
    int32_t tag() const { return tag_; }
    void setTag(int32_t v) { tag_ = v; }
    const std::wstring& caption() const { return caption_; }
    void setCaption(const std::wstring& v);
    Color color() const { return color_; }
    void setColor(Color v);
    const std::wstring& hint() const { return hint_; }
    void setHint(const std::wstring& v) { hint_ = v; }
    int32_t cursor() const { return cursor_; }
    void setCursor(int32_t v);
    Font& font() { return font_; }
    const Font& font() const { return font_; }

    ControlPeer* peer() const { return peer_.get(); }
    void setPeer(std::unique_ptr<ControlPeer> peer);

    bool showHint = false, parentShowHint = true, parentFont = true, parentColor = true;
    uint32_t anchors = 0b0011;  // akLeft, akTop
    int32_t helpType = 1, helpContext = 0;
    std::wstring helpKeyword;
    SizeConstraints constraints;
    int32_t align = 0;
    int32_t biDiMode = 0;
    bool parentBiDiMode = true;
    int32_t dragCursor = -12, dragKind = 0, dragMode = 0;

    // What lies behind the control changed: see-through controls must repaint.
    void parentBackgroundChanged() { notify(ControlChange::Color); }

protected:
    void notify(ControlChange what) {
        if (peer_) peer_->changed(what);
    }

private:
    friend class WinControl;
    WinControl* parent_ = nullptr;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    int32_t tag_ = 0;
    std::wstring caption_, hint_;
    Color color_ = kClBtnFace;
    int32_t cursor_ = kCrDefault;
    Font font_;
    std::unique_ptr<ControlPeer> peer_;
};

// A control drawn by the program on its parent, without a window of its own.
class GraphicControl : public Control {
public:
    using Control::Control;
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
};

// A control with a window of its own, which can hold child controls.
class WinControl : public Control {
public:
    explicit WinControl(Component* owner) : Control(owner) {}
    ~WinControl() override;
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    const std::vector<Control*>& controls() const { return controls_; }
    void moveControl(Control* child, size_t position);

    int32_t tabOrder = -1;
    bool tabStop = false;
    bool ctl3D = true, parentCtl3D = true;

private:
    friend class Control;
    std::vector<Control*> controls_;  // not owned: the owner (the main window) destroys them
};

}  // namespace orb
