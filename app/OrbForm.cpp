#include "app/OrbForm.h"

#include <algorithm>

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
}

void TOrbForm::loaded() {
    CustomForm::loaded();
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
    if (usePageCaption_ && activePage_ >= 0 && static_cast<size_t>(activePage_) < pages.lines.size())
        setCaption(pages.lines[static_cast<size_t>(activePage_)]);
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
}

void TOrbForm::setDesignMode(bool v) {
    if (v == designMode_) return;
    designMode_ = v;
    UpdateBorderStyle();
    if (designMode_) showPage(activePage_);
    else setActivePage(startupPage_);
}

void TOrbForm::setWindowStyle(TOrbWindowStyle v) {
    if (v == windowStyle_) return;
    windowStyle_ = v;
    notify(ControlChange::Repaint);
}

void TOrbForm::setAlphaValue(int32_t v) { alphaValue_ = std::clamp(v, 0, 100); }
void TOrbForm::setTopMost(bool v) { topMost_ = v; }
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
