#pragma once
// The base of every clickable drawn control: the action and its settings, the
// hover and click sounds, the hover and pressed state that descendants paint
// from, the password, the popup menu and the click sequence that hands the
// action to the dispatcher. Descendants add only their look.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/OrbControlIA.h"
#include "app/OrbData.h"
#include "core/Control.h"
#include "core/Font.h"
#include "core/Picture.h"
#include "core/StringList.h"
#include "framework/MouseTarget.h"
#include "graphics/OrbTypes.h"

namespace orb {

class TOrbForm;
class TOrbActionControl;

// Separates a popup menu line's caption from its command.
inline constexpr std::wstring_view PopupMenuSeparator = L"-|{oRb}|-";
std::wstring popupMenuCaption(std::wstring_view line);
std::wstring popupMenuCommand(std::wstring_view line);

// The stored form of a password: the bytes chained through a 16-bit key, then
// in groups of five bytes as eight letters of a 32-letter alphabet.
std::string ScramblePassword(std::string_view text);

// The letter after the first single "&" of a caption; 0 when there is none.
wchar_t acceleratorOf(std::wstring_view caption);

// What a click reaches beyond the control: the dispatcher, the dialogs, the
// sound output and the menu. The Windows layer gives the real one; tests
// record the calls. `form` may be null when a control sits on no main window.
class ActionControlServices {
public:
    virtual ~ActionControlServices() = default;
    virtual void playSound(const TWaveData& sound, bool wait) = 0;
    // False when the user cancelled; text is the initial text and the typed one.
    virtual bool askPassword(Component* owner, const std::wstring& title, const std::wstring& prompt,
                             std::wstring& text) = 0;
    virtual void controlMusic(TOrbForm* form, TOrbBGMusicControl control) = 0;
    virtual void performAction(TOrbForm* form, TOrbActionType kind, const std::wstring& parameter,
                               const std::wstring& secondParam, TOrbWindowMode mode) = 0;
    virtual bool launchProgram(const std::wstring& file, const std::wstring& parameters, TOrbWindowMode mode,
                               bool wait) = 0;
    virtual void locateTarget(TOrbForm* form, TOrbActionType kind, const std::wstring& parameter,
                              const std::wstring& secondParam) = 0;
    virtual void handleLink(TOrbForm* form, const std::wstring& link) = 0;
    virtual void showPicture(TOrbForm* form, TOrbActionControl& control) = 0;
    virtual void runSlideShow(TOrbForm* form, TOrbActionControl& control, const std::wstring& expandedPath) = 0;
    virtual void executeControlIA(TOrbActionControl& control) = 0;
    virtual std::wstring expandMacros(const std::wstring& text) = 0;
    // Shows the captions as a menu; the chosen index, or -1 when none was chosen.
    virtual int showPopupMenu(TOrbActionControl& control, const std::vector<std::wstring>& captions,
                              bool atPointer) = 0;
    virtual bool pointerInside(const Control& control) = 0;
};

// Does nothing and refuses what asks: the stand-in where no platform acts, and
// the base of test services that watch only part of a click.
class SilentActionControlServices : public ActionControlServices {
public:
    void playSound(const TWaveData&, bool) override {}
    bool askPassword(Component*, const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
    void controlMusic(TOrbForm*, TOrbBGMusicControl) override {}
    void performAction(TOrbForm*, TOrbActionType, const std::wstring&, const std::wstring&, TOrbWindowMode) override {}
    bool launchProgram(const std::wstring&, const std::wstring&, TOrbWindowMode, bool) override { return false; }
    void locateTarget(TOrbForm*, TOrbActionType, const std::wstring&, const std::wstring&) override {}
    void handleLink(TOrbForm*, const std::wstring&) override {}
    void showPicture(TOrbForm*, TOrbActionControl&) override {}
    void runSlideShow(TOrbForm*, TOrbActionControl&, const std::wstring&) override {}
    void executeControlIA(TOrbActionControl&) override {}
    std::wstring expandMacros(const std::wstring& text) override { return text; }
    int showPopupMenu(TOrbActionControl&, const std::vector<std::wstring>&, bool) override { return -1; }
    bool pointerInside(const Control&) override { return false; }
};

// The services in use: the platform's own unless replaced (tests).
ActionControlServices& actionControlServices();
// Replaces them for as long as the returned previous value is not put back; null restores the platform's.
ActionControlServices* setActionControlServices(ActionControlServices* services);
// The platform's services (the Windows layer; a silent stand-in elsewhere).
ActionControlServices& platformActionControlServices();

class TOrbActionControl : public GraphicControl, public MouseTarget, public AcceleratorTarget {
public:
    explicit TOrbActionControl(Component* owner);
    ~TOrbActionControl() override;
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();

    // The platform's click: the click sequence, repainting when the control redraws on state.
    virtual void Click();
    void ClickAction(bool repaint);
    void ShowActionPopupMenu();
    // The very last step of every click.
    virtual void AfterAction() {}
    // Alt plus the caption's accelerator letter; true when the control clicked itself.
    bool dialogChar(wchar_t ch, bool altDown) override;

    // MouseTarget.
    void mouseEnter(bool leftHeldHere) override;
    void mouseLeave(bool leftHeldHere) override;
    void mouseDown(MouseButton button, const MouseState& state, int32_t x, int32_t y) override;
    void mouseMove(const MouseState& state, int32_t x, int32_t y) override;
    void mouseUp(MouseButton button, const MouseState& state, int32_t x, int32_t y) override;
    void click() override { Click(); }
    void doubleClick() override;

    bool designMode() const { return designMode_; }
    void setDesignMode(bool v);
    // A click does something: an action, or a change of the background music.
    bool hasAction() const {
        return actionType != TOrbActionType::aatNone || bgMusicControl != TOrbBGMusicControl::amcNone;
    }
    // The window actions work on (the owner) and the one dialogs and menus belong to (the parent).
    TOrbForm* actionForm() const;
    TOrbForm* parentForm() const;

    // Run-time state descendants paint from.
    bool mouseInside = false, pressed = false, visited = false, unlocked = false, acceleratorEnabled = true;

    TOrbActionType actionType = TOrbActionType::aatNone;
    TOrbWindowMode runProgWindow = TOrbWindowMode::awmNormal;
    TOrbBGMusicControl bgMusicControl = TOrbBGMusicControl::amcNone;
    TWaveData mouseEnterSound, mouseClickSound;
    bool ignoreCommonSounds = false;
    std::wstring parameter, secondParam;
    Picture graphicComment;
    bool minimizeBeforeAction = false, exitAfterAction = false, locked = false;
    uint32_t groupIndex = 0;
    Picture spPicture;
    TSPWindowStyle spWindow = TSPWindowStyle::swsNormal;
    std::wstring spCaption;
    bool spFade = false;
    int32_t spFadeTime = 1;
    std::wstring ssPath;
    bool ssRecursive = false, ssRand = false;
    uint32_t ssPause = 2;
    bool ssFullScreen = true;
    int32_t ssWinWidth = 800, ssWinHeight = 600;
    Color ssBGColor = 0;
    bool ssPlayBGMusic = false, ssStopBGMusic = false;
    std::wstring ssEffects;
    bool ssShowInfo = true, ssShowFilenameWithoutPath = true, ssShowFileIndex = true, ssShowOperationGuide = true;
    Font ssInfoFont;
    bool ssManualMode = false, ssLoop = false, ssEnlarge = true, ssExactFit = false;
    bool rightClickToLocate = false;
    TOrbControlIA ctrlIA;
    bool ignoreHotCursor = false;
    std::string password;
    WideStringList popupMenuItems;
    bool popupRightClick = false, popupCursorPos = false;

    // Handler names a stream binds, and what code hooks in their place.
    std::string onClickName, onDblClickName, onMouseDownName, onMouseMoveName, onMouseUpName;
    std::string onMouseEnterName, onMouseLeaveName;
    std::function<void(TOrbActionControl&)> onClick, onDblClick, onMouseEnter, onMouseLeave;
    std::function<void(TOrbActionControl&, MouseButton, const MouseState&, int32_t, int32_t)> onMouseDown, onMouseUp;
    std::function<void(TOrbActionControl&, const MouseState&, int32_t, int32_t)> onMouseMove;

protected:
    // False for controls that keep their look on hover and press (and ignore right clicks).
    virtual bool redrawsOnState() const { return true; }
    void repaint() { notify(ControlChange::Repaint); }

private:
    const TWaveData* chosenSound(const TWaveData& own, bool enter) const;
    void fire(const std::function<void(TOrbActionControl&)>& hook) {
        if (hook) hook(*this);
    }

    bool designMode_ = false;
};

}  // namespace orb
