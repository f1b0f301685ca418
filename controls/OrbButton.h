#pragma once
// The commonest clickable control: a rectangle with a caption and an optional
// icon in one of eight styles whose colours follow the mouse. Everything that
// happens on hover and click comes from the action control; this adds the look.
#include <memory>
#include <string>

#include "actions/OrbActionControl.h"
#include "controls/ButtonLayout.h"
#include "core/Picture.h"
#include "graphics/OrbTypes.h"
#ifdef _WIN32
#include "framework/DrawnControl.h"
#endif

namespace orb {

class TOrbButton : public TOrbActionControl
#ifdef _WIN32
    ,
                   public DrawnControl
#endif
{
public:
    explicit TOrbButton(Component* owner);
    ~TOrbButton() override;
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();

#ifdef _WIN32
    void paintControl(HDC dc) override;
#endif

    int32_t opacity() const { return opacity_; }
    void setOpacity(int32_t v);
    // The caption as drawn: C-style escapes expanded, so "\n" breaks the line.
    std::wstring displayedCaption() const;
    // Whether this state of the style shows a frame (else design mode marks the button).
    bool showsFrame() const;

    Color borderColor = 0x008396A0, overColor = 0x00E1EAEB, downColor = 0x00C5D6D9;
    Color overFontColor = 0, downFontColor = 0;
    Picture imgIcon;
    TOrbGlyphLayout layout = TOrbGlyphLayout::aglGlyphLeft;
    TOrbButtonStyle style = TOrbButtonStyle::absWindows;
    Color transparentColor = 0;
    Color shadowColor = 0x00FFFFFF;
    TOrbCoolButtonTextStyle textStyle = TOrbCoolButtonTextStyle::abtNormal;
    bool xpThemesSupport = false;
    TOrbTextRenderMode textMode = TOrbTextRenderMode::atmSystemDefault;
    TOrbHorizontalAlignment horizontalAlignment = TOrbHorizontalAlignment::ahaCenter;
    TOrbVerticalAlignment verticalAlignment = TOrbVerticalAlignment::avaMiddle;
    int32_t horizontalMargin = 8, verticalMargin = 8, glyphMargin = 6;

private:
    void glyphStored();

    int32_t opacity_ = 100;
    // Older projects' icon: taken over into ImgIcon once, then kept empty.
    std::unique_ptr<Graphic> glyph_;
    bool glyphRetired_ = false;
};

}  // namespace orb
