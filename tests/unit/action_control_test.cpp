#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "actions/OrbActionControl.h"
#include "actions/OrbStaticActionControl.h"
#include "app/OrbForm.h"
#include "app/OrbResource.h"
#include "controls/OrbButton.h"

using namespace orb;
using namespace orbtest;

TEST(ScramblePassword, ChainsBytesAndSpellsGroupsOfFive) {
    struct Case {
        std::string text, stored;
    };
    for (const Case& c : std::vector<Case>{{"", ""},
                                           {"a", "PZAAAAAA"},
                                           {"ab", "P3LRAAAA"},
                                           {"abc", "P3L8ZAAA"},
                                           {"abcd", "P3L80KBA"},
                                           {"hello", "Q7ILQHSX"},
                                           {"secret", "NTWP3PKCVBAAAAAA"},
                                           {"0123456789", "F9EZHEY9PQYFWCPU"},
                                           {"\xE9t\xE9", "93NEBAAA"}})
        EXPECT_EQ(ScramblePassword(c.text), c.stored) << c.text;
}

TEST(PopupMenuLines, CaptionBeforeTheFirstSeparatorCommandAfterIt) {
    struct Case {
        std::wstring line, caption, command;
    };
    for (const Case& c : std::vector<Case>{
             {L"Read me-|{oRb}|-orb://open/%CDROM%/readme.txt", L"Read me", L"orb://open/%CDROM%/readme.txt"},
             {L"Just a caption", L"Just a caption", L""},
             {L"A-|{oRb}|-b-|{oRb}|-c", L"A", L"b-|{oRb}|-c"},
             {L"-|{oRb}|-http://example.org", L"", L"http://example.org"},
             {L"Half -|{oRb}", L"Half -|{oRb}", L""}}) {
        EXPECT_EQ(popupMenuCaption(c.line), c.caption) << c.line;
        EXPECT_EQ(popupMenuCommand(c.line), c.command) << c.line;
    }
}

TEST(Accelerators, TheLetterAfterTheFirstSingleAmpersand) {
    EXPECT_EQ(acceleratorOf(L"&Start"), L'S');
    EXPECT_EQ(acceleratorOf(L"Fish && &Chips"), L'C');
    EXPECT_EQ(acceleratorOf(L"Fish && Chips"), 0);
    EXPECT_EQ(acceleratorOf(L"Trailing&"), 0);
}

namespace {

// Writes down what a click reaches, in order.
class Recorder final : public ActionControlServices {
public:
    Recorder() : previous_(setActionControlServices(this)) {}
    ~Recorder() override { setActionControlServices(previous_); }

    void playSound(const TWaveData& sound, bool wait) override {
        log.push_back(std::string(wait ? "sound-wait " : "sound ") + std::to_string(sound.bytes().front()));
    }
    bool askPassword(Component*, const std::wstring& title, const std::wstring& prompt, std::wstring& text) override {
        log.push_back("password");
        lastTitle = title;
        lastPrompt = prompt;
        previousTyped.push_back(text);
        if (answers.empty()) return false;
        text = answers.front();
        answers.erase(answers.begin());
        return true;
    }
    void controlMusic(TOrbForm*, TOrbBGMusicControl control) override {
        log.push_back("music " + bgMusicControlType().names[static_cast<size_t>(control)]);
    }
    void performAction(TOrbForm* form, TOrbActionType kind, const std::wstring& parameter, const std::wstring& second,
                       TOrbWindowMode) override {
        log.push_back("perform " + actionTypeType().names[static_cast<size_t>(kind)] + " " + narrow(parameter) + " " +
                      narrow(second) + (form && !form->visible() ? " (hidden)" : ""));
    }
    bool launchProgram(const std::wstring& file, const std::wstring&, TOrbWindowMode, bool wait) override {
        log.push_back("launch " + narrow(file) + (wait ? " wait" : ""));
        return true;
    }
    void locateTarget(TOrbForm*, TOrbActionType kind, const std::wstring& parameter, const std::wstring&) override {
        log.push_back("locate " + actionTypeType().names[static_cast<size_t>(kind)] + " " + narrow(parameter));
    }
    void handleLink(TOrbForm*, const std::wstring& link) override { log.push_back("link " + narrow(link)); }
    void showPicture(TOrbForm*, TOrbActionControl&) override { log.push_back("picture"); }
    void runSlideShow(TOrbForm*, TOrbActionControl&, const std::wstring& path) override {
        log.push_back("slides " + narrow(path));
    }
    void executeControlIA(TOrbActionControl&) override { log.push_back("interaction"); }
    std::wstring expandMacros(const std::wstring& text) override { return L"<" + text + L">"; }
    int showPopupMenu(TOrbActionControl&, const std::vector<std::wstring>& captions, bool) override {
        std::string all = "menu";
        for (const auto& c : captions) all += " [" + narrow(c) + "]";
        log.push_back(all);
        return menuChoice;
    }
    bool pointerInside(const Control&) override { return pointerStaysInside; }

    static std::string narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

    std::vector<std::string> log;
    std::vector<std::wstring> answers, previousTyped;
    std::wstring lastTitle, lastPrompt;
    int menuChoice = -1;
    bool pointerStaysInside = true;

private:
    ActionControlServices* previous_;
};

void oneByteSound(TWaveData& data, uint8_t marker) { data.setData(&marker, 1); }

struct Page {
    Page() {
        form->setCaption(L"Menu");
        form->setVisible(true);
    }
    template <class T>
    T& add() {
        auto& c = static_cast<T&>(form->insertComponent(std::make_unique<T>(form.get())));
        c.setParent(form.get());
        c.setBounds(10, 10, 100, 30);
        return c;
    }
    std::unique_ptr<TfrmMain> form = newMainWindow();
    Recorder services;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(ClickSequence, RunsItsStepsInOrderForEachKindOfAction) {
    using enum TOrbActionType;
    using enum TOrbBGMusicControl;
    struct Case {
        const char* name;
        TOrbActionType type;
        TOrbBGMusicControl music;
        bool minimize, exitAfter;
        std::wstring parameter;
        Log expected;
    };
    const std::vector<Case> cases = {
        {"plain run", aatRunProgram, amcNone, false, false, L"setup.exe",
         {"music amcNone", "perform aatRunProgram setup.exe two"}},
        {"stop and resume", aatRunProgram, amcStopAndResume, false, false, L"setup.exe",
         {"music amcStopBGMusic", "launch setup.exe wait", "music amcPlayBGMusic"}},
        {"stop and resume then exit", aatOpenDocument, amcStopAndResume, false, true, L"a.pdf",
         {"music amcStopBGMusic", "launch a.pdf wait", "perform aatExit  "}},
        {"stop and resume needs a target", aatRunProgram, amcStopAndResume, false, false, L"",
         {"music amcStopAndResume", "perform aatRunProgram  two"}},
        {"stop and resume is nothing to a web address", aatGotoWeb, amcStopAndResume, false, false, L"http://x",
         {"music amcStopAndResume", "perform aatGotoWeb http://x two"}},
        {"minimised first", aatRunProgram, amcToggleBGMusic, true, false, L"p",
         {"music amcToggleBGMusic", "perform aatMinimize  ", "perform aatRunProgram p two"}},
        {"hidden around a message", aatPopupMessage, amcNone, true, false, L"hi",
         {"music amcNone", "perform aatPopupMessage hi two (hidden)"}},
        {"exit closes once", aatExit, amcNone, false, true, L"", {"music amcNone", "perform aatExit  two"}},
        {"exit after a page switch", aatJumpToPage, amcNone, false, true, L"2",
         {"music amcNone", "perform aatJumpToPage 2 two", "perform aatExit  "}},
        {"no action still asks the dispatcher", aatNone, amcNone, false, true, L"",
         {"music amcNone", "perform aatNone  two"}},
        {"picture", aatShowPicture, amcNone, false, false, L"", {"music amcNone", "picture"}},
        {"slide show with macros", aatSlideShow, amcNone, false, false, L"", {"music amcNone", "slides <%CDROM%\\pics>"}},
        {"control interaction", aatControlIA, amcNone, false, false, L"", {"music amcNone", "interaction"}},
    };
    for (const Case& c : cases) {
        Page page;
        auto& button = page.add<TOrbButton>();
        button.actionType = c.type;
        button.bgMusicControl = c.music;
        button.minimizeBeforeAction = c.minimize;
        button.exitAfterAction = c.exitAfter;
        button.parameter = c.parameter;
        button.secondParam = L"two";
        button.ssPath = L"%CDROM%\\pics";
        button.onClick = [&](TOrbActionControl&) { page.services.log.push_back("OnClick"); };
        button.Click();
        Log expected = c.expected;
        expected.insert(expected.begin(), "OnClick");
        EXPECT_EQ(page.services.log, expected) << c.name;
        EXPECT_TRUE(page.form->visible()) << c.name;
        EXPECT_TRUE(button.visited) << c.name;
    }
}

TEST(ClickSequence, DesignModeFiresOnlyTheClickEvent) {
    Page page;
    auto& button = page.add<TOrbButton>();
    button.actionType = TOrbActionType::aatExit;
    oneByteSound(button.mouseClickSound, 7);
    button.setDesignMode(true);
    int clicks = 0;
    button.onClick = [&](TOrbActionControl&) { ++clicks; };
    button.Click();
    button.mouseEnter(false);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(page.services.log.empty());
    EXPECT_FALSE(button.mouseInside);
}

TEST(ClickSequence, PasswordIsAskedUntilRightThenNeverAgain) {
    Page page;
    auto& button = page.add<TOrbButton>();
    button.actionType = TOrbActionType::aatPopupMessage;
    button.parameter = L"welcome";
    button.password = ScramblePassword("hello");
    page.services.answers = {L"wrong", L"hello"};
    button.Click();
    EXPECT_EQ(page.services.log, (Log{"password", "password", "music amcNone", "perform aatPopupMessage welcome "}));
    EXPECT_EQ(page.services.previousTyped, (std::vector<std::wstring>{L"", L"wrong"}));
    EXPECT_EQ(page.services.lastTitle, L"Menu");
    EXPECT_EQ(page.services.lastPrompt, effectiveText(TextId::PasswordPrompt));
    EXPECT_TRUE(button.unlocked);

    page.services.log.clear();
    button.Click();
    EXPECT_EQ(page.services.log, (Log{"music amcNone", "perform aatPopupMessage welcome "}));

    // A new design-mode round locks it again.
    button.setDesignMode(true);
    button.setDesignMode(false);
    EXPECT_FALSE(button.unlocked);
}

TEST(ClickSequence, CancelledPasswordEndsTheClickAfterTheSound) {
    struct Counting final : TOrbButton {
        explicit Counting(Component* owner) : TOrbButton(owner) {}
        void AfterAction() override { ++*count; }
        int* count = nullptr;
    };
    Page page;
    int afterActions = 0;
    auto& counting = page.add<Counting>();
    counting.count = &afterActions;
    counting.actionType = TOrbActionType::aatRunProgram;
    counting.parameter = L"x.exe";
    counting.exitAfterAction = true;
    counting.password = ScramblePassword("pw");
    oneByteSound(counting.mouseClickSound, 9);
    counting.Click();
    EXPECT_EQ(page.services.log, (Log{"sound 9", "password"}));
    EXPECT_EQ(afterActions, 0);
    EXPECT_FALSE(counting.visited);
}

TEST(Sounds, OwnSoundElseTheWindowsCommonOneOnlyForControlsThatAct) {
    struct Case {
        const char* name;
        TOrbActionType type;
        TOrbBGMusicControl music;
        bool own, common, ignoreCommon;
        Log expected;
    };
    using enum TOrbActionType;
    using enum TOrbBGMusicControl;
    for (const Case& c : std::vector<Case>{
             {"own", aatPopupMessage, amcNone, true, true, false, {"sound 1", "sound 2"}},
             {"common", aatPopupMessage, amcNone, false, true, false, {"sound 3", "sound 4"}},
             {"common ignored", aatPopupMessage, amcNone, false, true, true, {}},
             {"no action, no sound", aatNone, amcNone, true, true, false, {}},
             {"music switch is an action", aatNone, amcToggleBGMusic, false, true, false, {"sound 3", "sound 4"}},
             {"exit waits for its sound", aatExit, amcNone, true, false, false, {"sound 1", "sound-wait 2"}},
             {"eject waits too", aatEject, amcNone, false, true, false, {"sound 3", "sound-wait 4"}}}) {
        Page page;
        auto& button = page.add<TOrbButton>();
        button.actionType = c.type;
        button.bgMusicControl = c.music;
        button.ignoreCommonSounds = c.ignoreCommon;
        if (c.own) {
            oneByteSound(button.mouseEnterSound, 1);
            oneByteSound(button.mouseClickSound, 2);
        }
        if (c.common) {
            oneByteSound(page.form->commonMouseEnterSound, 3);
            oneByteSound(page.form->commonMouseClickSound, 4);
        }
        button.mouseEnter(false);
        button.Click();
        Log sounds;
        for (const auto& line : page.services.log)
            if (line.rfind("sound", 0) == 0) sounds.push_back(line);
        EXPECT_EQ(sounds, c.expected) << c.name;
    }
}

TEST(MouseState, HoverAndPressFollowThePointerAndTheLeftButton) {
    Page page;
    auto& button = page.add<TOrbButton>();
    MouseState left;
    left.left = true;
    button.mouseEnter(false);
    EXPECT_TRUE(button.mouseInside);
    button.mouseDown(MouseButton::Left, left, 5, 5);
    EXPECT_TRUE(button.pressed);
    // Dragged off with the button held: released; back on: pressed again, without the enter sound.
    oneByteSound(button.mouseEnterSound, 5);
    button.actionType = TOrbActionType::aatPopupMessage;
    button.mouseLeave(true);
    EXPECT_FALSE(button.pressed);
    EXPECT_FALSE(button.mouseInside);
    button.mouseEnter(true);
    EXPECT_TRUE(button.pressed);
    EXPECT_TRUE(page.services.log.empty());
    button.mouseUp(MouseButton::Left, MouseState{}, 5, 5);
    EXPECT_FALSE(button.pressed);
}

TEST(RightClick, LocatesTheTargetOrOpensTheMenuButNotOnStaticControls) {
    using enum TOrbActionType;
    Page page;
    auto& slides = page.add<TOrbButton>();
    slides.actionType = aatSlideShow;
    slides.rightClickToLocate = true;
    slides.ssPath = L"C:\\pics";
    slides.parameter = L"ignored";
    slides.mouseDown(MouseButton::Right, MouseState{}, 1, 1);

    auto& document = page.add<TOrbButton>();
    document.actionType = aatOpenDocument;
    document.rightClickToLocate = true;
    document.parameter = L"doc.pdf";
    document.mouseDown(MouseButton::Right, MouseState{}, 1, 1);

    auto& quiet = page.add<TOrbStaticActionControl>();
    quiet.actionType = aatOpenDocument;
    quiet.rightClickToLocate = true;
    int downs = 0;
    quiet.onMouseDown = [&](TOrbActionControl&, MouseButton, const MouseState&, int32_t, int32_t) { ++downs; };
    quiet.mouseDown(MouseButton::Right, MouseState{}, 1, 1);

    EXPECT_EQ(page.services.log, (Log{"perform aatExplore C:\\pics 0", "locate aatOpenDocument doc.pdf"}));
    EXPECT_EQ(downs, 1);
}

TEST(PopupMenu, ChoiceRunsTheLinesCommandAndNothingChosenOutsideEndsTheHover) {
    Page page;
    auto& button = page.add<TOrbButton>();
    button.actionType = TOrbActionType::aatPopupMenu;
    button.popupRightClick = true;
    button.popupMenuItems.lines = {L"Read me-|{oRb}|-orb://open/%CDROM%/readme.txt", L"Bare line"};

    page.services.menuChoice = 0;
    button.Click();
    page.services.menuChoice = 1;
    button.mouseDown(MouseButton::Right, MouseState{}, 1, 1);
    EXPECT_EQ(page.services.log, (Log{"music amcNone", "menu [Read me] [Bare line]",
                                      "link orb://open/%CDROM%/readme.txt", "menu [Read me] [Bare line]", "link "}));

    page.services.log.clear();
    button.mouseEnter(false);
    page.services.menuChoice = -1;
    page.services.pointerStaysInside = false;
    button.ShowActionPopupMenu();
    EXPECT_FALSE(button.mouseInside);

    button.popupMenuItems.lines.clear();
    page.services.log.clear();
    button.ShowActionPopupMenu();
    EXPECT_TRUE(page.services.log.empty());
}

TEST(ActionControlProperties, ReadFromAProjectByName) {
    auto form = newMainWindow();
    readInto(*form, mainForm({}, {object("TOrbButton", "Go",
                                         {prop("ActionType", ident("aatJumpToPage")), prop("Parameter", wstr(L"Two")),
                                          prop("SS_Pause", Value::ofInt(7)), prop("Password", str("PZAAAAAA")),
                                          prop("CtrlIA.ControlType", ident("iatImage")),
                                          prop("CtrlIA.ControlName", wstr(L"Pic")),
                                          prop("PopupMenuItems.Strings", listOf({wstr(L"A-|{oRb}|-b")})),
                                          prop("Style", ident("absFlat")), prop("Opacity", Value::ofInt(150)),
                                          prop("Layout", ident("aglGlyphTop"))})}));
    auto* button = dynamic_cast<TOrbButton*>(form->findComponent("Go"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->actionType, TOrbActionType::aatJumpToPage);
    EXPECT_EQ(button->parameter, L"Two");
    EXPECT_EQ(button->ssPause, 7u);
    EXPECT_EQ(button->password, "PZAAAAAA");
    EXPECT_EQ(button->ctrlIA.controlType, TOrbControlIAType::iatImage);
    EXPECT_EQ(button->ctrlIA.controlName, L"Pic");
    EXPECT_EQ(button->popupMenuItems.lines, (std::vector<std::wstring>{L"A-|{oRb}|-b"}));
    EXPECT_EQ(button->style, TOrbButtonStyle::absFlat);
    EXPECT_EQ(button->opacity(), 100);
    EXPECT_EQ(button->layout, TOrbGlyphLayout::aglGlyphTop);
    // What a new button starts with.
    EXPECT_EQ(button->width(), 121);
    EXPECT_EQ(button->font().name, "Arial");
    EXPECT_EQ(button->font().size(), 9);
    EXPECT_TRUE(button->showHint);
    EXPECT_EQ(button->ssInfoFont.name, "Tahoma");
    EXPECT_EQ(button->ssInfoFont.color, 0x00FF00);
}

TEST(ButtonProperties, OpacityIsClampedAndANewIconForgetsTheTransparentColour) {
    TOrbButton button(nullptr);
    for (auto [set, read] : std::vector<std::pair<int, int>>{{150, 100}, {-5, 0}, {42, 42}}) {
        button.setOpacity(set);
        EXPECT_EQ(button.opacity(), read) << set;
    }
    EXPECT_EQ(button.transparentColor, 0);
    auto graphic = GraphicRegistry::instance().create("TBitmap");
    graphic->setFileBytes({'B', 'M'});
    button.imgIcon.setGraphic(std::move(graphic));
    EXPECT_EQ(button.transparentColor, kClNone);
}

TEST(ButtonProperties, AnOldProjectsGlyphBecomesTheIconUnlessOneIsSet) {
    const std::string bmp = "BM-some-bitmap";
    const std::string glyphData = le32(static_cast<uint32_t>(bmp.size())) + bmp;
    auto form = newMainWindow();
    readInto(*form, mainForm({}, {object("TOrbButton", "Old", {prop("Glyph.Data", binary(glyphData))})}));
    auto* old = dynamic_cast<TOrbButton*>(form->findComponent("Old"));
    ASSERT_NE(old, nullptr);
    ASSERT_FALSE(old->imgIcon.empty());
    EXPECT_EQ(stringOfBytes(old->imgIcon.graphic()->fileBytes()), bmp);
    const PropInfo* glyph = old->classInfo().findProperty("Glyph");
    ASSERT_NE(glyph, nullptr);
    EXPECT_TRUE(static_cast<Graphic*>(glyph->object(*old))->empty());
}
