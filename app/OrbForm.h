#pragma once
// The main window of a menu project as its stream describes it: project-wide
// settings and the page model. Window-style effects reach the screen through
// the form's peer.
#include <string>

#include "app/OrbData.h"
#include "app/OrbResource.h"
#include "core/Form.h"
#include "core/Picture.h"
#include "core/StringList.h"
#include "graphics/OrbTypes.h"

namespace orb {

// What the main window's settings do to its real window; the Windows layer
// provides it, tests give a fake. Calls come in the order the form's rules make them.
class FormWindowEffects {
public:
    virtual ~FormWindowEffects() = default;
    virtual void screenSize(int32_t& width, int32_t& height) const = 0;
    // The window's region from the picture's shape (only ever asked to set one).
    virtual void applyShape(const Picture& shape) = 0;
    // Layered-window opacity; value 0..255.
    virtual void applyAlphaBlend(bool on, uint8_t value) = 0;
    virtual void applyTopMost(bool on) = 0;
    // The About entry of the system menu, added once or removed.
    virtual void showAboutItem(bool shown) = 0;
    // The window's picture to the clipboard or the printer, a moment after the request.
    virtual void copyWindowImage(bool clientOnly) = 0;
    virtual void printWindowImage(bool clientOnly) = 0;
    // The title the program's own message boxes carry follows the page caption.
    virtual void applicationTitle(const std::wstring& title) { (void)title; }
};

// Where a window image of bitmapW x bitmapH screen pixels lands on a printed
// page: scaled from screen to printer resolution, shrunk to the printable
// area keeping its proportions, centred on the page.
struct PrintPlacement {
    int32_t left = 0, top = 0, width = 0, height = 0;
};
struct PrinterPage {
    int32_t width = 0, height = 0;             // the whole page, in printer dots
    int32_t offsetX = 0, offsetY = 0;          // the physical margins
    int32_t dotsPerInchX = 0, dotsPerInchY = 0;
};
PrintPlacement fitWindowImageOnPage(int32_t bitmapW, int32_t bitmapH, int32_t screenPixelsPerInch,
                                    const PrinterPage& page);

// The slot a direct child of the main window points at (cursor ids of the
// screen-wide table; kCrDefault for the default cursor).
inline constexpr int32_t kSlotNormalCursor = 1999, kSlotHotCursor = 2999, kSlotEditCursor = 3999;
int32_t cursorSlotFor(const Control& child, bool designMode, bool editOrHotCursorSet);

class TOrbForm : public CustomForm {
public:
    explicit TOrbForm(Component* owner);
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    void loaded() override;

    // Pages.
    int32_t activePage() const { return activePage_; }
    void setActivePage(int32_t page);
    void showPage(int32_t page);
    bool alwaysShowPageZero() const { return alwaysShowPageZero_; }
    void setAlwaysShowPageZero(bool v);
    bool usePageCaption() const { return usePageCaption_; }
    void setUsePageCaption(bool v);
    int32_t startupPage() const { return startupPage_; }
    void setStartupPage(int32_t v) { startupPage_ = v < 0 ? 0 : v; }

    // The border the window style asks for, keeping the client size.
    void UpdateBorderStyle();
    bool hasUsableShapePicture() const;
    // Spreads the window one pixel over every screen edge and centres the
    // controls on the screen; off puts both back.
    void SetFullScreenLayout(bool on);
    void UpdateWindowShape(bool on);
    void UpdateAlphaBlend();
    void UpdateTopMost();
    void PictureChanged();
    void setEffects(FormWindowEffects* effects) { effects_ = effects; }
    // Used by the copy and print actions.
    void CopyWindowImage(bool clientOnly) {
        if (effects_) effects_->copyWindowImage(clientOnly);
    }
    void PrintWindowImage(bool clientOnly) {
        if (effects_) effects_->printWindowImage(clientOnly);
    }

    bool designMode() const { return designMode_; }
    void setDesignMode(bool v);
    TOrbWindowStyle windowStyle() const { return windowStyle_; }
    void setWindowStyle(TOrbWindowStyle v);
    int32_t alphaValue() const { return alphaValue_; }
    void setAlphaValue(int32_t v);
    bool topMost() const { return topMost_; }
    void setTopMost(bool v);
    // The alpha a layered window gets for AlphaValue.
    uint8_t blendValue() const { return static_cast<uint8_t>(alphaValue_ * 255 / 100); }
    int32_t gridX() const { return gridX_; }
    void setGridX(int32_t v);
    int32_t gridY() const { return gridY_; }
    void setGridY(int32_t v);
    int32_t splashDelay() const { return splashDelay_; }
    void setSplashDelay(int32_t v);
    int32_t endScreenDelay() const { return endScreenDelay_; }
    void setEndScreenDelay(int32_t v);
    int32_t hintOpacity() const { return hintOpacity_; }
    void setHintOpacity(int32_t v);
    bool hideAboutMenu() const { return hideAboutMenu_; }
    void setHideAboutMenu(bool v);
    const std::wstring& useSysColorTheme() const { return useSysColor_; }
    void setUseSysColorTheme(const std::wstring& v) { useSysColor_ = v; }

    int32_t pageCount = 0;
    WideStringList pages, fontList;
    TOrbFillStyle backGround = TOrbFillStyle::afsNormal;
    Color gradBeginColor = 0xFFCF90, gradEndColor = 0xFF6030;
    TOrbGradFillStyle gradStyle = TOrbGradFillStyle::agsReflectedH;
    Picture picture, splash, endScreen, hintBGImage;
    bool showGrid = false;
    TIconData iconData;
    TCursorData orbCursor, orbHotCursor, orbEditCursor;
    TAudioData startupSound;
    bool autoPlayMusic = true, autoMusic = false, loop = false;
    TWaveData commonMouseEnterSound, commonMouseClickSound;
    bool showSplash = false, shapedShow = false, splashFade = false, splashSkipWithESC = false;
    bool endScreenSameAsSplash = false, showEndScreen = false;
    bool endScreenShaped = false, endScreenFade = false, endScreenSkipWithESC = false;
    TOrbPosition hintDirection = TOrbPosition::apsRightTop;
    Color hintBorderColor = 0xFF0000, hintColor = 0x00FFFF, hintShadowColor = 0x000080;
    int32_t hintShadowOffset = 4;
    Font hintFont;
    TOrbFillStyle hintBGStyle = TOrbFillStyle::afsNormal;
    TOrbGradFillStyle hintGradStyle = TOrbGradFillStyle::agsLinearH;
    Color hintGradBeginColor = 0x00FFFF, hintGradEndColor = 0x0000FF;
    bool useCustomizedHint = false;
    int32_t custHintPause = 500, custHintHidePause = 2500;
    bool exitWithESC = false, hideTaskBar = false, sysMsgBox = true;
    std::wstring launchApp, launchParam;
    bool launchMax = false, launchWait = false, launchOnly = false;
    TOrbWindowMode launchWinMode = TOrbWindowMode::awmNormal;
    uint32_t groups = 0;
    bool moveWithAnyPoint = false, adminOnly = false, minimizeToTrayIcon = false;
    std::wstring adminMsg;
    int32_t v61Addon = 1;
    bool customVersion = false;
    TOrbUserVersion userVersion;
    TOrbTextTranslation textTranslation;

private:
    void applyPageCaption();
    void moveChildrenForFullScreen(int sign);
    void assignCursors();

    FormWindowEffects* effects_ = nullptr;
    int32_t activePage_ = 0, startupPage_ = 0;
    bool alwaysShowPageZero_ = false, usePageCaption_ = false;
    bool designMode_ = false, topMost_ = false, hideAboutMenu_ = false;
    TOrbWindowStyle windowStyle_ = TOrbWindowStyle::awsNormal;
    int32_t alphaValue_ = 100, gridX_ = 8, gridY_ = 8, splashDelay_ = 3, endScreenDelay_ = 3, hintOpacity_ = 100;
    std::wstring useSysColor_ = L"TRUE";
};

// The program's concrete main window: the handlers a stream binds by name.
class TfrmMain final : public TOrbForm {
public:
    explicit TfrmMain(Component* owner) : TOrbForm(owner) {}
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    const std::vector<std::string>& publishedMethods() const override;
};

}  // namespace orb
