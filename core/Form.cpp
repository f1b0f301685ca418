#include "core/Form.h"

#include "core/Errors.h"

namespace orb {

const ClassInfo& ControlScrollBar::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<ControlScrollBar> b("TControlScrollBar", &Persistent::staticClass());
        b.integer("Range", &ControlScrollBar::range);
        b.integer("Position", &ControlScrollBar::position);
        b.integer("Increment", &ControlScrollBar::increment, 8);
        b.integer("Margin", &ControlScrollBar::margin);
        b.integer("Size", &ControlScrollBar::size);
        b.enumeration("Style", &ControlScrollBar::style, scrollBarStyleType());
        b.integer("ButtonSize", &ControlScrollBar::buttonSize);
        b.integer("ThumbSize", &ControlScrollBar::thumbSize);
        b.integer("Color", &ControlScrollBar::color, static_cast<Color>(0xFF000010), &colorIdents());
        b.boolean("Visible", &ControlScrollBar::visible, true);
        b.boolean("ParentColor", &ControlScrollBar::parentColor, true);
        b.boolean("Smooth", &ControlScrollBar::smooth);
        b.boolean("Tracking", &ControlScrollBar::tracking);
        return b.build();
    }();
    return info;
}

CustomForm::CustomForm(Component* owner) : WinControl(owner), icon(iconClass(), GraphicDataLayout::WholeRest) {
    setVisible(false);
}

const ClassInfo& CustomForm::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<CustomForm> b("TForm", &WinControl::staticClass());
        b.accessor("ClientWidth", PropKind::Integer, &CustomForm::clientWidth, &CustomForm::setClientWidth);
        b.accessor("ClientHeight", PropKind::Integer, &CustomForm::clientHeight, &CustomForm::setClientHeight);
        b.accessor("BorderStyle", PropKind::Enum, &CustomForm::borderStyle, &CustomForm::setBorderStyle, 2);
        b.withEnum(formBorderStyleType());
        b.accessor("BorderIcons", PropKind::Set, &CustomForm::borderIcons, &CustomForm::setBorderIcons, 0b0111u);
        b.withEnum(borderIconType());
        b.object("Icon", &CustomForm::icon, iconClass());
        b.object("HorzScrollBar", &CustomForm::horzScrollBar, ControlScrollBar::staticClass());
        b.object("VertScrollBar", &CustomForm::vertScrollBar, ControlScrollBar::staticClass());
        b.boolean("KeyPreview", &CustomForm::keyPreview);
        b.boolean("OldCreateOrder", &CustomForm::oldCreateOrder);
        b.boolean("Scaled", &CustomForm::scaled, true);
        b.boolean("AutoScroll", &CustomForm::autoScroll, true);
        b.boolean("AutoSize", &CustomForm::autoSize);
        b.integer("PixelsPerInch", &CustomForm::pixelsPerInch, 96);
        b.enumeration("Position", &CustomForm::position, positionType());
        b.enumeration("FormStyle", &CustomForm::formStyle, formStyleType());
        b.enumeration("WindowState", &CustomForm::windowState, windowStateType());
        b.enumeration("DefaultMonitor", &CustomForm::defaultMonitor, defaultMonitorType(), 3);
        b.enumeration("PrintScale", &CustomForm::printScale, printScaleType(), 1);
        b.boolean("AlphaBlend", &CustomForm::alphaBlend);
        b.integer("AlphaBlendValue", &CustomForm::alphaBlendValue, 255);
        b.boolean("TransparentColor", &CustomForm::transparentColor);
        b.integer("TransparentColorValue", &CustomForm::transparentColorValue, 0, &colorIdents());
        b.boolean("ScreenSnap", &CustomForm::screenSnap);
        b.integer("SnapBuffer", &CustomForm::snapBuffer, 10);
        b.boolean("DockSite", &CustomForm::dockSite);
        b.boolean("UseDockManager", &CustomForm::useDockManager);
        b.wide("HelpFile", &CustomForm::helpFile);
        b.event("OnActivate", &CustomForm::onActivate);
        b.event("OnClick", &CustomForm::onClick);
        b.event("OnClose", &CustomForm::onClose);
        b.event("OnCloseQuery", &CustomForm::onCloseQuery);
        b.event("OnCreate", &CustomForm::onCreate);
        b.event("OnDblClick", &CustomForm::onDblClick);
        b.event("OnDeactivate", &CustomForm::onDeactivate);
        b.event("OnDestroy", &CustomForm::onDestroy);
        b.event("OnHide", &CustomForm::onHide);
        b.event("OnKeyDown", &CustomForm::onKeyDown);
        b.event("OnKeyPress", &CustomForm::onKeyPress);
        b.event("OnKeyUp", &CustomForm::onKeyUp);
        b.event("OnMouseDown", &CustomForm::onMouseDown);
        b.event("OnMouseMove", &CustomForm::onMouseMove);
        b.event("OnMouseUp", &CustomForm::onMouseUp);
        b.event("OnPaint", &CustomForm::onPaint);
        b.event("OnResize", &CustomForm::onResize);
        b.event("OnShow", &CustomForm::onShow);
        return b.build();
    }();
    return info;
}

bool CustomForm::readDefinedProperty(std::string_view name, const Value& value) {
    if (name == "TextHeight") {
        if (!value.isInteger()) throw ReadError(kInvalidPropertyValue);
        textHeight = static_cast<int32_t>(value.integer);
        return true;
    }
    if (name == "IgnoreFontProperty") {
        if (value.tag != ValueTag::True && value.tag != ValueTag::False) throw ReadError(kInvalidPropertyValue);
        return true;
    }
    return WinControl::readDefinedProperty(name, value);
}

void CustomForm::setClientWidth(int32_t v) {
    clientWidth_ = v;
    clientWidthGiven_ = true;
    setBounds(left(), top(), v + frameWidth_, height());
}

void CustomForm::setClientHeight(int32_t v) {
    clientHeight_ = v;
    clientHeightGiven_ = true;
    setBounds(left(), top(), width(), v + frameHeight_);
}

void CustomForm::setWidth(int32_t v) {
    clientWidth_ = v - frameWidth_;
    clientWidthGiven_ = false;
    setBounds(left(), top(), v, height());
}

void CustomForm::setHeight(int32_t v) {
    clientHeight_ = v - frameHeight_;
    clientHeightGiven_ = false;
    setBounds(left(), top(), width(), v);
}

void CustomForm::setFrameExtent(int32_t extraWidth, int32_t extraHeight) {
    frameWidth_ = extraWidth;
    frameHeight_ = extraHeight;
    int32_t w = width(), h = height();
    if (clientWidthGiven_) w = clientWidth_ + extraWidth;
    else clientWidth_ = w - extraWidth;
    if (clientHeightGiven_) h = clientHeight_ + extraHeight;
    else clientHeight_ = h - extraHeight;
    setBounds(left(), top(), w, h);
}

void CustomForm::setBorderStyle(int32_t v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    notify(ControlChange::Repaint);
}

void CustomForm::setBorderIcons(uint32_t v) {
    if (v == borderIcons_) return;
    borderIcons_ = v;
    notify(ControlChange::Repaint);
}

}  // namespace orb
