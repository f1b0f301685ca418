#include "app/OrbForm.h"

#include <algorithm>

#include "actions/HintAppearance.h"
#include "graphics/PictureDecode.h"

namespace orb {

TOrbForm::TOrbForm(Component* owner) : CustomForm(owner) {
    scaled = false;
    setBorderIcons(setBit(0) | setBit(1));  // system menu and minimise
    keyPreview = true;
    horzScrollBar.visible = false;
    vertScrollBar.visible = false;
    hintFont.name = "Verdana";
    hintFont.setSize(10);
    hintFont.color = 0xFF0000;
    hintFont.style = setBit(0) | setBit(1);  // bold italic
    picture.onChange = [this] { PictureChanged(); };
    writeHintAppearance(*this);
}

void TOrbForm::loaded() {
    CustomForm::loaded();
    // The player never changes hint settings after the stream, so one copy
    // here keeps the shared record in step with the properties.
    writeHintAppearance(*this);
    applyTextTranslation(textTranslation);
}

void TOrbForm::setActivePage(int32_t page) {
    activePage_ = page;
    showPage(page);
}

void TOrbForm::showPage(int32_t page) {
    for (Control* c : controls()) {
        int32_t tag = c->tag();
        c->setVisible(tag >= 0 && (tag == page || (tag == 0 && alwaysShowPageZero_)));
    }
    applyPageCaption();
}

void TOrbForm::applyPageCaption() {
    if (!usePageCaption_ || activePage_ < 0 || static_cast<size_t>(activePage_) >= pages.lines.size()) return;
    setCaption(pages.lines[static_cast<size_t>(activePage_)]);
    if (effects_) effects_->applicationTitle(caption());
}

void TOrbForm::setAlwaysShowPageZero(bool v) {
    if (v == alwaysShowPageZero_) return;
    alwaysShowPageZero_ = v;
    showPage(activePage_);
}

void TOrbForm::setUsePageCaption(bool v) {
    usePageCaption_ = v;
    applyPageCaption();
}

bool TOrbForm::hasUsableShapePicture() const {
    std::string kind = picture.graphicClassName();
    return !picture.empty() && kind != "TJPEGImage" && kind != "TIcon";
}

void TOrbForm::UpdateBorderStyle() {
    enum { bsNone = 0, bsSingle = 1, bsSizeable = 2 };
    int32_t w = clientWidth(), h = clientHeight();
    int32_t style;
    bool shaped = windowStyle_ == TOrbWindowStyle::awsShaped && hasUsableShapePicture();
    if (designMode_) style = shaped ? bsSingle : bsSizeable;
    else if (windowStyle_ == TOrbWindowStyle::awsNormal) style = bsSingle;
    else if (windowStyle_ == TOrbWindowStyle::awsShaped) style = shaped ? bsNone : bsSingle;
    else style = bsNone;
    setBorderStyle(style);
    setClientWidth(w);
    setClientHeight(h);
    int pictureW = 0, pictureH = 0;
    if (windowStyle_ == TOrbWindowStyle::awsShaped && hasUsableShapePicture() &&
        graphicSize(*picture.graphic(), pictureW, pictureH)) {
        setClientWidth(pictureW);
        setClientHeight(pictureH);
    }
}

namespace {
// The client size full-screen layout replaced, for putting it back: one pair per process.
struct SavedClientSize {
    int32_t width = 0, height = 0;
} g_savedClientSize;
}  // namespace

void TOrbForm::moveChildrenForFullScreen(int sign) {
    int32_t screenW = 0, screenH = 0;
    if (effects_) effects_->screenSize(screenW, screenH);
    int32_t dx = (screenW + 2 - width()) / 2, dy = (screenH + 2 - height()) / 2;
    for (Control* c : controls()) c->setBounds(c->left() + sign * dx, c->top() + sign * dy, c->width(), c->height());
}

void TOrbForm::SetFullScreenLayout(bool on) {
    if (on) {
        g_savedClientSize = {clientWidth(), clientHeight()};
        moveChildrenForFullScreen(+1);
        int32_t screenW = 0, screenH = 0;
        if (effects_) effects_->screenSize(screenW, screenH);
        setLeft(-1);
        setTop(-1);
        setClientWidth(screenW + 2);
        setClientHeight(screenH + 2);
    } else {
        setClientWidth(g_savedClientSize.width);
        setClientHeight(g_savedClientSize.height);
        moveChildrenForFullScreen(-1);
    }
}

void TOrbForm::UpdateWindowShape(bool on) {
    if (on && effects_) effects_->applyShape(picture);
}

void TOrbForm::UpdateAlphaBlend() {
    if (effects_) effects_->applyAlphaBlend(alphaValue_ < 100 && !designMode_, blendValue());
}

void TOrbForm::UpdateTopMost() {
    if (effects_) effects_->applyTopMost(topMost_);
}

void TOrbForm::PictureChanged() {
    if (windowStyle_ == TOrbWindowStyle::awsShaped) {
        UpdateBorderStyle();
        UpdateWindowShape(!designMode_ && hasUsableShapePicture());
    } else if (backGround != TOrbFillStyle::afsGlyph) {
        return;
    }
    notify(ControlChange::Repaint);
    for (Control* c : controls()) c->parentBackgroundChanged();
}

namespace {
// Multiply then divide, rounded to nearest, as the system's MulDiv does.
int32_t mulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t p = int64_t{a} * b;
    int64_t q = (p >= 0) == (c > 0) ? (p + (c > 0 ? c : -c) / 2) / c : (p - (c > 0 ? c : -c) / 2) / c;
    return static_cast<int32_t>(q);
}
}  // namespace

PrintPlacement fitWindowImageOnPage(int32_t bitmapW, int32_t bitmapH, int32_t screenPixelsPerInch,
                                    const PrinterPage& page) {
    int32_t printableW = page.width - 2 * page.offsetX, printableH = page.height - 2 * page.offsetY;
    int32_t w = mulDiv(bitmapW, page.dotsPerInchX, screenPixelsPerInch);
    int32_t h = mulDiv(bitmapH, page.dotsPerInchY, screenPixelsPerInch);
    if (printableW < w) {
        h = mulDiv(h, printableW, w);
        w = printableW;
    }
    if (printableH < h) {
        w = mulDiv(w, printableH, h);
        h = printableH;
    }
    return {(page.width - w) / 2, (page.height - h) / 2, w, h};
}

void TOrbForm::setHideAboutMenu(bool v) {
    hideAboutMenu_ = v;
    if (effects_) effects_->showAboutItem(!v);
}

int32_t cursorSlotFor(const Control& child, bool designMode, bool editOrHotCursorSet) {
    if (designMode) return kCrDefault;
    const ClassInfo& info = child.classInfo();
    auto ordinal = [&](const char* name) -> int64_t {
        const PropInfo* p = info.findProperty(name);
        if (!p || !p->get) return 0;
        Scalar v = p->get(child);
        return std::holds_alternative<int64_t>(v) ? std::get<int64_t>(v) : 0;
    };
    if (info.findProperty("IgnoreHotCursor") && info.findProperty("ActionType")) {
        bool hasAction = ordinal("ActionType") != 0 || ordinal("BGMusicControl") != 0;
        return !ordinal("IgnoreHotCursor") && hasAction ? kSlotHotCursor : kSlotNormalCursor;
    }
    if (info.name == "TOrbRichEdit") return editOrHotCursorSet ? kSlotEditCursor : kCrDefault;
    if (info.name == "TOrbTextBox") return kSlotEditCursor;
    return kSlotNormalCursor;
}

void TOrbForm::assignCursors() {
    bool customCursors = !orbEditCursor.isEmpty() || !orbHotCursor.isEmpty();
    for (Control* c : controls()) c->setCursor(cursorSlotFor(*c, designMode_, customCursors));
    setCursor(designMode_ ? kCrDefault : kSlotNormalCursor);
}

void TOrbForm::setDesignMode(bool v) {
    if (v == designMode_) return;
    designMode_ = v;
    UpdateAlphaBlend();
    if (windowStyle_ == TOrbWindowStyle::awsFullScreen) {
        if (v) {
            SetFullScreenLayout(false);
            UpdateBorderStyle();
        } else {
            UpdateBorderStyle();
            SetFullScreenLayout(true);
        }
    } else {
        UpdateBorderStyle();
        if (windowStyle_ == TOrbWindowStyle::awsShaped) UpdateWindowShape(!v && hasUsableShapePicture());
    }
    if (topMost_) UpdateTopMost();
    if (showGrid) notify(ControlChange::Repaint);
    for (Control* c : controls()) {
        if (const PropInfo* p = c->classInfo().findProperty("DesignMode"); p && p->set) {
            try {
                p->set(*c, Scalar{int64_t{v}});
            } catch (...) {
                // a child that cannot follow keeps its own mode
            }
        }
    }
    assignCursors();
    if (v) showPage(activePage_);
    else setActivePage(startupPage_);
    if (effects_) {
        effects_->showAboutItem(false);
        effects_->showAboutItem(!hideAboutMenu_);
    }
}

void TOrbForm::setWindowStyle(TOrbWindowStyle v) {
    if (v == windowStyle_) return;
    TOrbWindowStyle old = windowStyle_;
    auto either = [&](TOrbWindowStyle s) { return old == s || v == s; };
    windowStyle_ = v;
    bool borderApplied = false;
    if (either(TOrbWindowStyle::awsFullScreen) && !designMode_) {
        if (v == TOrbWindowStyle::awsFullScreen) {
            UpdateBorderStyle();
            SetFullScreenLayout(true);
        } else {
            SetFullScreenLayout(false);
            UpdateBorderStyle();
        }
        borderApplied = true;
    }
    if (either(TOrbWindowStyle::awsShaped)) {
        UpdateBorderStyle();
        UpdateWindowShape(!designMode_ && v == TOrbWindowStyle::awsShaped && hasUsableShapePicture());
        notify(ControlChange::Repaint);
        borderApplied = true;
    }
    if (!borderApplied) UpdateBorderStyle();
}

void TOrbForm::setAlphaValue(int32_t v) { alphaValue_ = std::clamp(v, 0, 100); }
void TOrbForm::setTopMost(bool v) {
    if (v == topMost_) return;
    topMost_ = v;
    UpdateTopMost();
}
void TOrbForm::setGridX(int32_t v) { gridX_ = std::clamp(v, 2, 128); }
void TOrbForm::setGridY(int32_t v) { gridY_ = std::clamp(v, 2, 128); }
void TOrbForm::setSplashDelay(int32_t v) { splashDelay_ = std::clamp(v, 1, 60); }
void TOrbForm::setEndScreenDelay(int32_t v) { endScreenDelay_ = std::clamp(v, 1, 60); }
void TOrbForm::setHintOpacity(int32_t v) { hintOpacity_ = std::clamp(v, 0, 100); }

const ClassInfo& TOrbForm::staticClass() {
    static const ClassInfo info = [] {
        using F = TOrbForm;
        ClassBuilder<F> b("TOrbForm", &CustomForm::staticClass());
        b.accessor("ActivePage", PropKind::Integer, &F::activePage, &F::setActivePage);
        b.integer("PageCount", &F::pageCount);
        b.object("Pages", &F::pages, WideStringList::staticClass());
        b.accessor("AlwaysShowPageZero", PropKind::Bool, &F::alwaysShowPageZero, &F::setAlwaysShowPageZero);
        b.accessor("UsePageCaption", PropKind::Bool, &F::usePageCaption, &F::setUsePageCaption);
        b.accessor("StartupPage", PropKind::Integer, &F::startupPage, &F::setStartupPage);
        b.enumeration("BackGround", &F::backGround, fillStyleType());
        b.integer("GradBeginColor", &F::gradBeginColor, 0xFFCF90, &colorIdents());
        b.integer("GradEndColor", &F::gradEndColor, 0xFF6030, &colorIdents());
        b.enumeration("GradStyle", &F::gradStyle, gradFillStyleType(), TOrbGradFillStyle::agsReflectedH);
        b.object("Picture", &F::picture, Picture::staticClass());
        b.accessor("WindowStyle", PropKind::Enum, &F::windowStyle, &F::setWindowStyle);
        b.withEnum(windowStyleType());
        b.accessor("AlphaValue", PropKind::Integer, &F::alphaValue, &F::setAlphaValue, 100);
        b.accessor("TopMost", PropKind::Bool, &F::topMost, &F::setTopMost);
        b.accessor("DesignMode", PropKind::Bool, &F::designMode, &F::setDesignMode);
        b.boolean("ShowGrid", &F::showGrid);
        b.accessor("GridX", PropKind::Integer, &F::gridX, &F::setGridX, 8);
        b.accessor("GridY", PropKind::Integer, &F::gridY, &F::setGridY, 8);
        b.object("IconData", &F::iconData, TIconData::staticClass());
        b.object("OrbCursor", &F::orbCursor, TCursorData::staticClass());
        b.object("OrbHotCursor", &F::orbHotCursor, TCursorData::staticClass());
        b.object("OrbEditCursor", &F::orbEditCursor, TCursorData::staticClass());
        b.object("StartupSound", &F::startupSound, TAudioData::staticClass());
        b.boolean("AutoPlayMusic", &F::autoPlayMusic, true);
        b.boolean("AutoMusic", &F::autoMusic);
        b.boolean("Loop", &F::loop);
        b.object("CommonMouseEnterSound", &F::commonMouseEnterSound, TWaveData::staticClass());
        b.object("CommonMouseClickSound", &F::commonMouseClickSound, TWaveData::staticClass());
        b.boolean("ShowSplash", &F::showSplash);
        b.object("Splash", &F::splash, Picture::staticClass());
        b.boolean("ShapedShow", &F::shapedShow);
        b.boolean("SplashFade", &F::splashFade);
        b.accessor("SplashDelay", PropKind::Integer, &F::splashDelay, &F::setSplashDelay, 3);
        b.boolean("SplashSkipWithESC", &F::splashSkipWithESC);
        b.boolean("EndScreenSameAsSplash", &F::endScreenSameAsSplash);
        b.boolean("ShowEndScreen", &F::showEndScreen);
        b.object("EndScreen", &F::endScreen, Picture::staticClass());
        b.boolean("EndScreenShaped", &F::endScreenShaped);
        b.boolean("EndScreenFade", &F::endScreenFade);
        b.boolean("EndScreenSkipWithESC", &F::endScreenSkipWithESC);
        b.accessor("EndScreenDelay", PropKind::Integer, &F::endScreenDelay, &F::setEndScreenDelay, 3);
        b.object("FontList", &F::fontList, WideStringList::staticClass());
        b.enumeration("HintDirection", &F::hintDirection, positionStyleType(), TOrbPosition::apsRightTop);
        b.integer("HintBorderColor", &F::hintBorderColor, 0xFF0000, &colorIdents());
        b.integer("HintColor", &F::hintColor, 0x00FFFF, &colorIdents());
        b.integer("HintShadowColor", &F::hintShadowColor, 0x000080, &colorIdents());
        b.accessor("HintOpacity", PropKind::Integer, &F::hintOpacity, &F::setHintOpacity, 100);
        b.integer("HintShadowOffset", &F::hintShadowOffset, 4);
        b.object("HintFont", &F::hintFont, Font::staticClass());
        b.enumeration("HintBGStyle", &F::hintBGStyle, fillStyleType());
        b.enumeration("HintGradStyle", &F::hintGradStyle, gradFillStyleType());
        b.integer("HintGradBeginColor", &F::hintGradBeginColor, 0x00FFFF, &colorIdents());
        b.integer("HintGradEndColor", &F::hintGradEndColor, 0x0000FF, &colorIdents());
        b.object("HintBGImage", &F::hintBGImage, Picture::staticClass());
        b.boolean("UseCustomizedHint", &F::useCustomizedHint);
        b.integer("CustHintPause", &F::custHintPause, 500);
        b.integer("CustHintHidePause", &F::custHintHidePause, 2500);
        b.boolean("ExitWithESC", &F::exitWithESC);
        b.boolean("HideTaskBar", &F::hideTaskBar);
        b.accessor("HideAboutMenu", PropKind::Bool, &F::hideAboutMenu, &F::setHideAboutMenu);
        b.boolean("SysMsgBox", &F::sysMsgBox, true);
        b.wide("LaunchApp", &F::launchApp);
        b.wide("LaunchParam", &F::launchParam);
        b.boolean("LaunchMax", &F::launchMax);
        b.boolean("LaunchWait", &F::launchWait);
        b.boolean("LaunchOnly", &F::launchOnly);
        b.enumeration("LaunchWinMode", &F::launchWinMode, windowModeType());
        b.field("Groups", PropKind::Integer, &F::groups);
        b.boolean("MoveWithAnyPoint", &F::moveWithAnyPoint);
        b.boolean("AdminOnly", &F::adminOnly);
        b.wide("AdminMsg", &F::adminMsg);
        b.boolean("MinimizeToTrayIcon", &F::minimizeToTrayIcon);
        // Two names for one shared value.
        b.accessor("UseSysColorTheme", PropKind::WideString, &F::useSysColorTheme, &F::setUseSysColorTheme);
        b.accessor("UseSysColorStyle", PropKind::WideString, &F::useSysColorTheme, &F::setUseSysColorTheme);
        b.integer("V61Addon", &F::v61Addon, 1);
        b.boolean("CustomVersion", &F::customVersion);
        b.object("UserVersion", &F::userVersion, TOrbUserVersion::staticClass());
        b.object("TextTranslation", &F::textTranslation, TOrbTextTranslation::staticClass());
        return b.build();
    }();
    return info;
}

const ClassInfo& TfrmMain::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<TfrmMain> b("TfrmMain", &TOrbForm::staticClass());
        b.factory([](Component* owner) { return std::make_unique<TfrmMain>(owner); });
        return b.build();
    }();
    return info;
}

const std::vector<std::string>& TfrmMain::publishedMethods() const {
    static const std::vector<std::string> methods = {"FormCloseQuery", "FormCreate", "FormDestroy",
                                                     "FormKeyDown",    "FormResize", "FormShow"};
    return methods;
}

}  // namespace orb
