#include "actions/OrbActionControl.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "app/OrbForm.h"
#include "app/OrbResource.h"
#include "core/Text.h"

namespace orb {

std::wstring popupMenuCaption(std::wstring_view line) {
    size_t at = line.find(PopupMenuSeparator);
    return std::wstring(at == std::wstring_view::npos ? line : line.substr(0, at));
}

std::wstring popupMenuCommand(std::wstring_view line) {
    size_t at = line.find(PopupMenuSeparator);
    if (at == std::wstring_view::npos) return {};
    return std::wstring(line.substr(at + PopupMenuSeparator.size()));
}

std::string ScramblePassword(std::string_view text) {
    static constexpr char kAlphabet[] = "BCDEFGHIJKLMNOPQRSTUVWXYZ0135789";
    std::string bytes;
    bytes.reserve(text.size());
    uint16_t key = 5923;
    for (char c : text) {
        auto out = static_cast<uint8_t>(static_cast<uint8_t>(c) ^ (key >> 8));
        bytes.push_back(static_cast<char>(out));
        key = static_cast<uint16_t>((static_cast<uint32_t>(key + out) * 10581u + 90349u) & 0xFFFFu);
    }
    std::string result;
    for (size_t start = 0; start < bytes.size(); start += 5) {
        size_t n = std::min<size_t>(5, bytes.size() - start);
        uint64_t group = 0;
        for (size_t i = 0; i < 5; ++i)
            group = (group << 8) | (i < n ? static_cast<uint8_t>(bytes[start + i]) : 0u);
        // 1..5 bytes carry 8n bits, which need ceil(8n / 5) letters.
        size_t letters = (n * 8 + 4) / 5;
        for (size_t i = 0; i < 8; ++i)
            result.push_back(i < letters ? kAlphabet[(group >> (35 - 5 * i)) & 31] : 'A');
    }
    return result;
}

wchar_t acceleratorOf(std::wstring_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&') return caption[i + 1];
        ++i;  // "&&" is a plain ampersand
    }
    return 0;
}

namespace {

// Where no window system answers: nothing is shown or played, nothing is chosen.
ActionControlServices* g_services = nullptr;

bool isOneOf(TOrbActionType t, std::initializer_list<TOrbActionType> set) {
    for (TOrbActionType x : set)
        if (t == x) return true;
    return false;
}

}  // namespace

#ifndef _WIN32
ActionControlServices& platformActionControlServices() {
    static SilentActionControlServices silent;
    return silent;
}
#endif

ActionControlServices& actionControlServices() {
    return g_services ? *g_services : platformActionControlServices();
}

ActionControlServices* setActionControlServices(ActionControlServices* services) {
    return std::exchange(g_services, services);
}

TOrbActionControl::TOrbActionControl(Component* owner) : GraphicControl(owner) {
    showHint = true;
    ssInfoFont.name = "Tahoma";
    ssInfoFont.setSize(8);
    ssInfoFont.color = 0x00FF00;
}

TOrbActionControl::~TOrbActionControl() = default;

TOrbForm* TOrbActionControl::actionForm() const { return dynamic_cast<TOrbForm*>(owner()); }
TOrbForm* TOrbActionControl::parentForm() const { return dynamic_cast<TOrbForm*>(parent()); }

void TOrbActionControl::setDesignMode(bool v) {
    if (v == designMode_) return;
    designMode_ = v;
    mouseInside = pressed = visited = unlocked = false;
    repaint();
}

const TWaveData* TOrbActionControl::chosenSound(const TWaveData& own, bool enter) const {
    if (designMode_ || !hasAction()) return nullptr;
    if (!own.isEmpty()) return &own;
    if (ignoreCommonSounds) return nullptr;
    TOrbForm* form = parentForm();
    if (!form) return nullptr;
    const TWaveData& common = enter ? form->commonMouseEnterSound : form->commonMouseClickSound;
    return common.isEmpty() ? nullptr : &common;
}

void TOrbActionControl::mouseEnter(bool leftHeldHere) {
    if (leftHeldHere) {
        MouseState state;
        state.left = true;
        mouseDown(MouseButton::Left, state, 0, 0);
    } else if (const TWaveData* sound = chosenSound(mouseEnterSound, true)) {
        actionControlServices().playSound(*sound, false);
    }
    if (!designMode_) {
        mouseInside = true;
        if (redrawsOnState()) repaint();
    }
    fire(onMouseEnter);
}

void TOrbActionControl::mouseLeave(bool leftHeldHere) {
    if (leftHeldHere) mouseUp(MouseButton::Left, MouseState{}, 0, 0);
    mouseInside = false;
    if (!designMode_ && visible() && redrawsOnState()) repaint();
    fire(onMouseLeave);
}

void TOrbActionControl::mouseDown(MouseButton button, const MouseState& state, int32_t x, int32_t y) {
    if (button == MouseButton::Left) {
        pressed = true;
        if (redrawsOnState()) repaint();
    } else if (button == MouseButton::Right && redrawsOnState()) {
        if (actionType == TOrbActionType::aatPopupMenu && popupRightClick) {
            ShowActionPopupMenu();
        } else if (rightClickToLocate) {
            ActionControlServices& s = actionControlServices();
            if (actionType == TOrbActionType::aatSlideShow)
                s.performAction(actionForm(), TOrbActionType::aatExplore, ssPath, L"0", runProgWindow);
            else
                s.locateTarget(actionForm(), actionType, parameter, secondParam);
        }
    }
    if (onMouseDown) onMouseDown(*this, button, state, x, y);
}

void TOrbActionControl::mouseMove(const MouseState& state, int32_t x, int32_t y) {
    if (onMouseMove) onMouseMove(*this, state, x, y);
}

void TOrbActionControl::mouseUp(MouseButton button, const MouseState& state, int32_t x, int32_t y) {
    if (button == MouseButton::Left) {
        pressed = false;
        if (redrawsOnState()) repaint();
    }
    if (onMouseUp) onMouseUp(*this, button, state, x, y);
}

void TOrbActionControl::doubleClick() { fire(onDblClick); }

void TOrbActionControl::Click() { ClickAction(redrawsOnState()); }

bool TOrbActionControl::dialogChar(wchar_t ch, bool altDown) {
    wchar_t accel = acceleratorOf(caption());
    if (!accel || std::towupper(static_cast<wint_t>(accel)) != std::towupper(static_cast<wint_t>(ch))) return false;
    if (!enabled() || !visible() || !acceleratorEnabled || !altDown) return false;
    Click();
    return true;
}

void TOrbActionControl::ClickAction(bool repaintNow) {
    using enum TOrbActionType;
    fire(onClick);
    if (designMode_) return;
    pressed = false;
    if (repaintNow) repaint();

    ActionControlServices& s = actionControlServices();
    if (const TWaveData* sound = chosenSound(mouseClickSound, false))
        s.playSound(*sound, actionType == aatExit || actionType == aatEject);

    if (!password.empty() && !unlocked) {
        TOrbForm* owner = parentForm();
        std::wstring title = parent() ? parent()->caption() : std::wstring();
        std::wstring typed;
        for (;;) {
            if (!s.askPassword(owner ? static_cast<Component*>(owner) : parent(), title,
                               effectiveText(TextId::PasswordPrompt), typed))
                return;
            if (ScramblePassword(ansiCodePage().toAnsi(typed)) == password) break;
        }
        unlocked = true;
    }

    TOrbForm* form = actionForm();
    bool stopAndResume = bgMusicControl == TOrbBGMusicControl::amcStopAndResume &&
                         isOneOf(actionType, {aatRunProgram, aatRunProgramAsAdmin, aatOpenDocument}) &&
                         !parameter.empty();
    s.controlMusic(form, stopAndResume ? TOrbBGMusicControl::amcStopBGMusic : bgMusicControl);
    visited = true;

    auto kind = static_cast<int>(actionType);
    bool hidesForm = kind >= static_cast<int>(aatPopupMessage) && kind <= static_cast<int>(aatSlideShow);
    if (minimizeBeforeAction) {
        if (kind >= static_cast<int>(aatRunProgram) && kind <= static_cast<int>(aatMail))
            s.performAction(form, aatMinimize, L"", L"", runProgWindow);
        else if (hidesForm && form)
            form->setVisible(false);
    }

    if (stopAndResume) {
        s.launchProgram(parameter, secondParam, runProgWindow, true);
        if (!exitAfterAction) s.controlMusic(form, TOrbBGMusicControl::amcPlayBGMusic);
    } else {
        switch (actionType) {
            case aatShowPicture: s.showPicture(form, *this); break;
            case aatSlideShow: s.runSlideShow(form, *this, s.expandMacros(ssPath)); break;
            case aatControlIA: s.executeControlIA(*this); break;
            case aatPopupMenu: ShowActionPopupMenu(); break;
            default: s.performAction(form, actionType, parameter, secondParam, runProgWindow); break;
        }
    }

    if (minimizeBeforeAction && hidesForm && form) form->setVisible(true);
    if (exitAfterAction && !isOneOf(actionType, {aatNone, aatExit, aatEject}))
        s.performAction(form, aatExit, L"", L"", runProgWindow);
    AfterAction();
}

void TOrbActionControl::ShowActionPopupMenu() {
    if (popupMenuItems.lines.empty()) return;
    std::vector<std::wstring> captions;
    captions.reserve(popupMenuItems.lines.size());
    for (const std::wstring& line : popupMenuItems.lines) captions.push_back(popupMenuCaption(line));
    ActionControlServices& s = actionControlServices();
    int chosen = s.showPopupMenu(*this, captions, popupCursorPos);
    if (chosen < 0) {
        // The pointer may have left while the menu held it; nobody else will say so.
        if (!s.pointerInside(*this)) mouseLeave(false);
        return;
    }
    // The lines as they are now: the menu may have run for a while.
    if (static_cast<size_t>(chosen) >= popupMenuItems.lines.size()) return;
    s.handleLink(parentForm(), popupMenuCommand(popupMenuItems.lines[static_cast<size_t>(chosen)]));
}

const ClassInfo& TOrbActionControl::staticClass() {
    static const ClassInfo info = [] {
        using C = TOrbActionControl;
        ClassBuilder<C> b("TOrbActionControl", &GraphicControl::staticClass());
        b.event("OnClick", &C::onClickName);
        b.event("OnDblClick", &C::onDblClickName);
        b.event("OnMouseDown", &C::onMouseDownName);
        b.event("OnMouseMove", &C::onMouseMoveName);
        b.event("OnMouseUp", &C::onMouseUpName);
        b.enumeration("ActionType", &C::actionType, actionTypeType());
        b.enumeration("RunProgWindow", &C::runProgWindow, windowModeType());
        b.enumeration("BGMusicControl", &C::bgMusicControl, bgMusicControlType());
        b.accessor("DesignMode", PropKind::Bool, &C::designMode, &C::setDesignMode);
        b.object("MouseEnterSound", &C::mouseEnterSound, TWaveData::staticClass());
        b.object("MouseClickSound", &C::mouseClickSound, TWaveData::staticClass());
        b.boolean("IgnoreCommonSounds", &C::ignoreCommonSounds);
        b.event("OnMouseEnter", &C::onMouseEnterName);
        b.event("OnMouseLeave", &C::onMouseLeaveName);
        b.wide("Parameter", &C::parameter);
        b.wide("SecondParam", &C::secondParam);
        b.object("GraphicComment", &C::graphicComment, Picture::staticClass());
        b.boolean("MinimizeBeforeAction", &C::minimizeBeforeAction);
        b.boolean("ExitAfterAction", &C::exitAfterAction);
        b.boolean("Locked", &C::locked);
        b.field("GroupIndex", PropKind::Integer, &C::groupIndex);
        b.object("SP_Picture", &C::spPicture, Picture::staticClass());
        b.enumeration("SP_Window", &C::spWindow, spWindowStyleType());
        b.wide("SP_Caption", &C::spCaption);
        b.boolean("SP_Fade", &C::spFade);
        b.integer("SP_FadeTime", &C::spFadeTime, 1);
        b.wide("SS_Path", &C::ssPath);
        b.boolean("SS_Recursive", &C::ssRecursive);
        b.boolean("SS_Rand", &C::ssRand);
        b.field("SS_Pause", PropKind::Integer, &C::ssPause, 2u);
        b.boolean("SS_FullScreen", &C::ssFullScreen, true);
        b.integer("SS_WinWidth", &C::ssWinWidth, 800);
        b.integer("SS_WinHeight", &C::ssWinHeight, 600);
        b.integer("SS_BGColor", &C::ssBGColor, 0, &colorIdents());
        b.boolean("SS_PlayBGMusic", &C::ssPlayBGMusic);
        b.boolean("SS_StopBGMusic", &C::ssStopBGMusic);
        b.wide("SS_Effects", &C::ssEffects);
        b.boolean("SS_ShowInfo", &C::ssShowInfo, true);
        b.boolean("SS_ShowFilenameWithoutPath", &C::ssShowFilenameWithoutPath, true);
        b.boolean("SS_ShowFileIndex", &C::ssShowFileIndex, true);
        b.boolean("SS_ShowOperationGuide", &C::ssShowOperationGuide, true);
        b.object("SS_InfoFont", &C::ssInfoFont, Font::staticClass());
        b.boolean("SS_ManualMode", &C::ssManualMode);
        b.boolean("SS_Loop", &C::ssLoop);
        b.boolean("SS_Enlarge", &C::ssEnlarge, true);
        b.boolean("SS_ExactFit", &C::ssExactFit);
        b.boolean("RightClickToLocate", &C::rightClickToLocate);
        b.object("CtrlIA", &C::ctrlIA, TOrbControlIA::staticClass());
        b.boolean("IgnoreHotCursor", &C::ignoreHotCursor);
        b.ansi("Password", &C::password);
        b.object("PopupMenuItems", &C::popupMenuItems, WideStringList::staticClass());
        b.boolean("PopupRightClick", &C::popupRightClick);
        b.boolean("PopupCursorPos", &C::popupCursorPos);
        return b.build();
    }();
    return info;
}

}  // namespace orb
