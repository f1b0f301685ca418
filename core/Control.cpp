#include "core/Control.h"

#include <algorithm>

#include "core/Errors.h"

namespace orb {

const ClassInfo& SizeConstraints::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<SizeConstraints> b("TSizeConstraints", &Persistent::staticClass());
        b.integer("MaxHeight", &SizeConstraints::maxHeight);
        b.integer("MaxWidth", &SizeConstraints::maxWidth);
        b.integer("MinHeight", &SizeConstraints::minHeight);
        b.integer("MinWidth", &SizeConstraints::minWidth);
        return b.build();
    }();
    return info;
}

Control::Control(Component* owner) : Component(owner) {
    font_.onChange = [this] { notify(ControlChange::Font); };
}

Control::~Control() {
    peer_.reset();
    setParent(nullptr);
}

const ClassInfo& Control::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<Control> b("TControl", &Component::staticClass());
        b.accessor("Left", PropKind::Integer, &Control::left, &Control::setLeft);
        b.accessor("Top", PropKind::Integer, &Control::top, &Control::setTop);
        b.accessor("Width", PropKind::Integer, &Control::width, &Control::setWidth);
        b.accessor("Height", PropKind::Integer, &Control::height, &Control::setHeight);
        b.accessor("Tag", PropKind::Integer, &Control::tag, &Control::setTag);
        b.accessor("Visible", PropKind::Bool, &Control::visible, &Control::setVisible, true);
        b.accessor("Enabled", PropKind::Bool, &Control::enabled, &Control::setEnabled, true);
        b.accessor("Caption", PropKind::WideString, &Control::caption, &Control::setCaption);
        b.accessor("Color", PropKind::Integer, &Control::color, &Control::setColor, kClBtnFace);
        b.withIdents(colorIdents());
        b.accessor("Hint", PropKind::WideString, &Control::hint, &Control::setHint);
        b.accessor("Cursor", PropKind::Integer, &Control::cursor, &Control::setCursor);
        b.withIdents(cursorIdents());
        b.object("Font", &Control::font_, Font::staticClass());
        b.boolean("ShowHint", &Control::showHint);
        b.boolean("ParentShowHint", &Control::parentShowHint, true);
        b.boolean("ParentFont", &Control::parentFont, true);
        b.boolean("ParentColor", &Control::parentColor, true);
        b.set("Anchors", &Control::anchors, anchorKindType(), 0b0011);
        b.object("Constraints", &Control::constraints, SizeConstraints::staticClass());
        b.enumeration("HelpType", &Control::helpType, helpTypeType(), 1);
        b.wide("HelpKeyword", &Control::helpKeyword);
        b.integer("HelpContext", &Control::helpContext);
        b.enumeration("Align", &Control::align, alignType());
        b.enumeration("BiDiMode", &Control::biDiMode, biDiModeType());
        b.boolean("ParentBiDiMode", &Control::parentBiDiMode, true);
        b.integer("DragCursor", &Control::dragCursor, -12, &cursorIdents());
        b.enumeration("DragKind", &Control::dragKind, dragKindType());
        b.enumeration("DragMode", &Control::dragMode, dragModeType());
        return b.build();
    }();
    return info;
}

bool Control::readDefinedProperty(std::string_view name, const Value& value) {
    if (name == "IsControl") {
        if (value.tag != ValueTag::True && value.tag != ValueTag::False) throw ReadError(kInvalidPropertyValue);
        return true;
    }
    return Component::readDefinedProperty(name, value);
}

void Control::setParent(WinControl* parent) {
    if (parent == parent_) return;
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    parent_ = parent;
    if (parent_) parent_->controls_.push_back(this);
    notify(ControlChange::Parent);
}

void Control::setBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    notify(ControlChange::Bounds);
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    notify(ControlChange::Visible);
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    notify(ControlChange::Enabled);
}

void Control::setCaption(const std::wstring& v) {
    if (v == caption_) return;
    caption_ = v;
    notify(ControlChange::Caption);
}

void Control::setColor(Color v) {
    if (v == color_) return;
    color_ = v;
    parentColor = false;
    notify(ControlChange::Color);
}

void Control::setCursor(int32_t v) {
    if (v == cursor_) return;
    cursor_ = v;
    notify(ControlChange::Cursor);
}

void Control::setPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }

const ClassInfo& GraphicControl::staticClass() {
    static const ClassInfo info{"TGraphicControl", &Control::staticClass(), {}, {}};
    return info;
}

WinControl::~WinControl() {
    // Children may outlive their parent (the owner destroys them later).
    for (Control* c : controls_) c->parent_ = nullptr;
    controls_.clear();
}

const ClassInfo& WinControl::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<WinControl> b("TWinControl", &Control::staticClass());
        b.integer("TabOrder", &WinControl::tabOrder, -1);
        b.boolean("TabStop", &WinControl::tabStop);
        b.boolean("Ctl3D", &WinControl::ctl3D, true);
        b.boolean("ParentCtl3D", &WinControl::parentCtl3D, true);
        return b.build();
    }();
    return info;
}

bool WinControl::readDefinedProperty(std::string_view name, const Value& value) {
    if (name == "DesignSize") {
        if (value.tag != ValueTag::List || value.list.size() != 2 || !value.list[0].isInteger() ||
            !value.list[1].isInteger())
            throw ReadError(kInvalidPropertyValue);
        return true;
    }
    return Control::readDefinedProperty(name, value);
}

void WinControl::moveControl(Control* child, size_t position) {
    auto it = std::find(controls_.begin(), controls_.end(), child);
    if (it == controls_.end()) return;
    controls_.erase(it);
    controls_.insert(controls_.begin() + static_cast<std::ptrdiff_t>(std::min(position, controls_.size())), child);
}

}  // namespace orb
