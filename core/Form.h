#pragma once
#include <string>

#include "core/Control.h"
#include "core/Picture.h"

namespace orb {

class ControlScrollBar final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    int32_t range = 0, position = 0, increment = 8, margin = 0, size = 0, style = 0, buttonSize = 0, thumbSize = 0;
    Color color = static_cast<Color>(0xFF000010);
    bool visible = true, parentColor = true, smooth = false, tracking = false;
};

// A top-level window as a stream describes it. The outer size is the client
// size plus the frame, which only the Windows layer can measure; it tells the
// form through setFrameExtent.
class CustomForm : public WinControl {
public:
    explicit CustomForm(Component* owner);
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    bool readDefinedProperty(std::string_view name, const Value& value) override;

    int32_t clientWidth() const { return clientWidth_; }
    int32_t clientHeight() const { return clientHeight_; }
    void setClientWidth(int32_t v);
    void setClientHeight(int32_t v);
    void setWidth(int32_t v) override;
    void setHeight(int32_t v) override;
    void setFrameExtent(int32_t extraWidth, int32_t extraHeight);
    int32_t frameWidth() const { return frameWidth_; }
    int32_t frameHeight() const { return frameHeight_; }

    int32_t borderStyle() const { return borderStyle_; }
    void setBorderStyle(int32_t v);
    uint32_t borderIcons() const { return borderIcons_; }
    void setBorderIcons(uint32_t v);

    StoredGraphic icon;
    ControlScrollBar horzScrollBar, vertScrollBar;
    bool keyPreview = false, oldCreateOrder = false, scaled = true, autoScroll = true, autoSize = false;
    int32_t pixelsPerInch = 96, position = 0, formStyle = 0, windowState = 0, defaultMonitor = 3, printScale = 1;
    int32_t textHeight = 13;
    bool alphaBlend = false, transparentColor = false, screenSnap = false, dockSite = false, useDockManager = false;
    int32_t alphaBlendValue = 255, snapBuffer = 10;
    Color transparentColorValue = 0;
    std::wstring helpFile;
    // Handler names bound by the stream, in the order OnXxx appear in the table.
    std::string onActivate, onClick, onClose, onCloseQuery, onCreate, onDblClick, onDeactivate, onDestroy, onHide,
        onKeyDown, onKeyPress, onKeyUp, onMouseDown, onMouseMove, onMouseUp, onPaint, onResize, onShow;

private:
    int32_t clientWidth_ = 0, clientHeight_ = 0;
    // Which size a stream gave last, per axis: the frame then grows around it or eats into it.
    bool clientWidthGiven_ = false, clientHeightGiven_ = false;
    int32_t frameWidth_ = 0, frameHeight_ = 0;
    int32_t borderStyle_ = 2;  // bsSizeable
    uint32_t borderIcons_ = 0b0111;
};

}  // namespace orb
