#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "actions/ActionDispatch.h"
#include "actions/ActionText.h"
#include "actions/OrbMacros.h"
#include "app/OrbResource.h"
#include "core/Text.h"

using namespace orb;

namespace {

using Calls = std::vector<std::wstring>;

// Records every request as one line; shell calls answer what the test wants.
class FakeSystem final : public ActionSystem, public FormWindowEffects {
public:
    uint32_t windowsMajorVersion() const override { return major; }
    intptr_t shellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                          const std::wstring& directory, int showCommand) override {
        calls.push_back(L"exec " + verb + L"|" + file + L"|" + parameters + L"|" + directory + L"|" +
                        std::to_wstring(showCommand));
        return shellResult;
    }
    ElevatedLaunch shellExecuteElevated(const std::wstring& file, const std::wstring& parameters,
                                        const std::wstring& directory, int showCommand) override {
        calls.push_back(L"runas " + file + L"|" + parameters + L"|" + directory + L"|" + std::to_wstring(showCommand));
        return elevated;
    }
    void systemMessage(const std::wstring& text, const std::wstring& title, uint32_t flags) override {
        calls.push_back(L"sysmsg " + text + L"|" + title + L"|" + std::to_wstring(flags));
    }
    void menuMessage(const std::wstring& text) override { calls.push_back(L"menumsg " + text); }
    void reportFailure(const std::wstring& text) override { calls.push_back(L"failure " + text); }
    void minimize() override { calls.push_back(L"minimize"); }
    void close() override { calls.push_back(L"close"); }
    void ejectDisc(wchar_t letter) override { calls.push_back(L"eject " + std::wstring(1, letter)); }

    void screenSize(int32_t& w, int32_t& h) const override { w = 1024, h = 768; }
    void applyShape(const Picture&) override {}
    void applyAlphaBlend(bool, uint8_t) override {}
    void applyTopMost(bool) override {}
    void showAboutItem(bool) override {}
    void copyWindowImage(bool clientOnly) override { calls.push_back(L"copy " + std::to_wstring(clientOnly)); }
    void printWindowImage(bool clientOnly) override { calls.push_back(L"print " + std::to_wstring(clientOnly)); }

    uint32_t major = 10;
    intptr_t shellResult = 42;
    ElevatedLaunch elevated{true, 42, 0};
    Calls calls;
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = processMacroValues();
        MacroValues& v = processMacroValues();
        v.cdrom = L"E:";
        v.winDir = L"C:\\WINDOWS";
        v.sysDir = L"C:\\WINDOWS\\system32";
        v.desktop = L"C:\\Users\\ann\\Desktop";
        v.environment = [](const std::wstring& name) { return name == L"LANG" ? std::wstring(L"de") : std::wstring(); };
        resetEffectiveTexts();
        form_ = std::make_unique<TOrbForm>(nullptr);
        form_->setCaption(L"Menu");
        form_->pageCount = 3;
        form_->pages.lines = {L"Start", L"Second page", L"Tools", L"Extras", L"Beyond"};
        form_->setEffects(&sys_);
        form_->setActivePage(1);
    }
    void TearDown() override {
        processMacroValues() = saved_;
        resetEffectiveTexts();
    }
    Calls perform(TOrbActionType kind, const std::wstring& p1, const std::wstring& p2 = {},
                  TOrbWindowMode mode = TOrbWindowMode::awmNormal) {
        sys_.calls.clear();
        ActionDispatcher(*form_, sys_).performAction(kind, p1, p2, mode);
        return sys_.calls;
    }
    Calls link(const std::wstring& text, LinkOrigin origin = LinkOrigin::Menu) {
        sys_.calls.clear();
        ActionDispatcher(*form_, sys_).handleLink(text, origin);
        return sys_.calls;
    }

    FakeSystem sys_;
    std::unique_ptr<TOrbForm> form_;

private:
    MacroValues saved_;
};

std::string show(const Calls& calls) {
    std::string s;
    for (const auto& c : calls) s += utf16ToUtf8(c) + "; ";
    return s;
}

}  // namespace

TEST(ActionText, WindowModesGiveShowCommands) {
    EXPECT_EQ(showCommandFor(TOrbWindowMode::awmNormal), 1);
    EXPECT_EQ(showCommandFor(TOrbWindowMode::awmMaximized), 3);
    EXPECT_EQ(showCommandFor(TOrbWindowMode::awmMinimized), 7);
    EXPECT_EQ(showCommandFor(TOrbWindowMode::awmHidden), 0);
}

TEST(ActionText, IntegersAsTheProjectWritesThem) {
    const std::pair<const wchar_t*, std::optional<int32_t>> cases[] = {
        {L"3", 3},          {L"  12", 12},      {L"-4", -4},  {L"+7", 7},         {L"$1F", 31},
        {L"0x10", 16},      {L"2147483647", 2147483647},      {L"-2147483648", INT32_MIN},
        {L"2147483648", {}}, {L"", {}},          {L"-", {}},   {L"3 ", {}},        {L"prev", {}},
        {L"1.5", {}},       {L"$", {}},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(parseInteger(text), want) << utf16ToUtf8(text);
}

TEST(ActionText, FolderPartOfAPath) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"E:\\setup\\run.exe", L"E:\\setup"},
        {L"E:\\run.exe", L"E:\\"},  // the root keeps its backslash
        {L"E:run.exe", L"E:"},
        {L"run.exe", L""},
        {L"\\\\server\\share\\run.exe", L"\\\\server\\share"},
        {L"\\run.exe", L"\\"},
        {L"E:\\a\\\\run.exe", L"E:\\a\\\\"},  // a doubled separator is left as found
        {L"", L""},
    };
    for (const auto& [path, folder] : cases) EXPECT_EQ(folderOf(path), folder) << utf16ToUtf8(path);
}

TEST(ActionText, ShellErrorCodesPickTheirReason) {
    const std::wstring first = L"Unable to open 'C:\\x.exe'.";
    const std::pair<intptr_t, const wchar_t*> cases[] = {
        {0, L" Out of memory."},
        {8, L" Out of memory."},
        {2, L" The file or path doesn't exist."},
        {3, L" The file or path doesn't exist."},
        {5, L" The application doesn't exist or access denied."},
        {11, L" The executable file is invalid."},
        {26, L" A sharing violation occurred."},
        {27, L" There is no application associated with the given file name extension or protocol."},
        {31, L" There is no application associated with the given file name extension or protocol."},
        {28, L" DDE transaction failed."},
        {30, L" DDE transaction failed."},
        {32, L" Unable to locate required dynamic-link library."},
        {1, L""},
        {12, L""},
    };
    resetEffectiveTexts();
    for (const auto& [code, reason] : cases)
        EXPECT_EQ(shellErrorMessage(L"C:\\x.exe", code), first + reason) << code;
}

TEST(ActionText, ReplacedTextsAreUsedForShellErrors) {
    TOrbTextTranslation t;
    t.texts[static_cast<size_t>(TextId::ActionCannotOpen)] = L"Impossible d'ouvrir \u00ab %s \u00bb (100%%).";
    t.texts[static_cast<size_t>(TextId::ActionFileNotFound)] = L"Fichier introuvable.";
    applyTextTranslation(t);
    EXPECT_EQ(shellErrorMessage(L"D:\\a.exe", 2), L"Impossible d'ouvrir \u00ab D:\\a.exe \u00bb (100%). Fichier introuvable.");
    EXPECT_EQ(shellErrorMessage(L"D:\\a.exe", 5), L"Impossible d'ouvrir \u00ab D:\\a.exe \u00bb (100%). The application doesn't exist or access denied.");
    resetEffectiveTexts();
}

TEST(ActionText, JumpTargets) {
    struct Case {
        const wchar_t* parameter;
        int32_t active;
        bool pageZeroAlways;
        std::optional<int32_t> target;
    };
    const Case cases[] = {
        {L"PREV", 2, false, 1}, {L"PREV", 1, false, 0}, {L"PREV", 1, true, 1},  // page zero shows anyway
        {L"PREV", 0, false, {}}, {L"NEXT", 2, false, 3}, {L"NEXT", 3, false, {}},  // no wrap-around
        {L"prev", 2, false, {}}, {L"0", 2, false, 0}, {L"3", 0, false, 3}, {L"4", 0, false, {}},
        {L"-1", 0, false, {}},  {L"two", 0, false, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(jumpTarget(c.parameter, c.active, 3, c.pageZeroAlways), c.target)
            << utf16ToUtf8(c.parameter) << " from " << c.active;
}

TEST(ActionText, LinksSplitIntoCommandAndArgument) {
    struct Case {
        const wchar_t* link;
        bool command;
        const wchar_t* name;
        const wchar_t* argument;
    };
    const Case cases[] = {
        {L"orb://exit", true, L"exit", L""},
        {L"ORB://EXIT/", true, L"exit", L""},
        {L"Orb://Page/ Tools /", true, L"page", L"Tools"},
        {L"orb:// Run /a/b.exe|x", true, L"run", L"a/b.exe|x"},
        {L"orb:///", true, L"", L""},
        {L"orb://", false, L"", L""},  // the trailing "/" goes first: no scheme is left
        {L"http://example.com/", false, L"", L""},
        {L"orb:/exit", false, L"", L""},
    };
    for (const auto& c : cases) {
        ParsedLink p = parseLink(c.link);
        EXPECT_EQ(p.isCommand, c.command) << utf16ToUtf8(c.link);
        EXPECT_EQ(p.command, c.name) << utf16ToUtf8(c.link);
        EXPECT_EQ(p.argument, c.argument) << utf16ToUtf8(c.link);
    }
}

TEST(ActionText, Decodings) {
    EXPECT_EQ(pathDecoded(L"%CDROM%/docs/read%20me.txt"), L"%CDROM%\\docs\\read me.txt");
    EXPECT_EQ(pathDecoded(L"a%22b&quot;"), L"a%22b&quot;");
    EXPECT_EQ(fullyDecoded(L"%22C:/Program%20Files%22&nbsp;&quot;x&quot;"), L"\"C:\\Program Files\" \"x\"");
    EXPECT_EQ(splitProgram(L"a.exe|-x|-y"), std::make_pair(std::wstring(L"a.exe"), std::wstring(L"-x|-y")));
    EXPECT_EQ(splitProgram(L"a.exe"), std::make_pair(std::wstring(L"a.exe"), std::wstring()));
}

TEST(ActionText, RemotePagesCannotStartPrograms) {
    const LinkCommand all[] = {LinkCommand::Run,   LinkCommand::RunAs,   LinkCommand::Open,     LinkCommand::Explore,
                               LinkCommand::Page,  LinkCommand::Copy,    LinkCommand::Print,    LinkCommand::Message,
                               LinkCommand::Minimize, LinkCommand::Exit, LinkCommand::Unknown};
    for (LinkCommand c : all) {
        bool starts = c == LinkCommand::Run || c == LinkCommand::RunAs || c == LinkCommand::Open ||
                      c == LinkCommand::Explore || c == LinkCommand::Unknown;
        EXPECT_TRUE(linkCommandAllowed(c, LinkOrigin::Menu));
        EXPECT_TRUE(linkCommandAllowed(c, LinkOrigin::LocalPage));
        EXPECT_EQ(linkCommandAllowed(c, LinkOrigin::RemotePage), !starts) << static_cast<int>(c);
    }
    const std::pair<const wchar_t*, bool> addresses[] = {
        {L"http://example.com/", true}, {L"HTTPS://example.com", true}, {L"mailto:a@b.c", true},
        {L"www.example.com", true},     {L"file:///C:/Windows/notepad.exe", false},
        {L"C:\\Windows\\notepad.exe", false}, {L"ms-settings:", false}, {L"\\\\host\\share\\x.exe", true},
    };
    for (const auto& [address, allowed] : addresses) {
        EXPECT_EQ(linkAddressAllowed(address, LinkOrigin::RemotePage), allowed) << utf16ToUtf8(address);
        EXPECT_TRUE(linkAddressAllowed(address, LinkOrigin::LocalPage));
    }
}

TEST_F(Dispatch, ActionsReachTheShellAndTheWindow) {
    using enum TOrbActionType;
    struct Case {
        TOrbActionType kind;
        const wchar_t* p1;
        const wchar_t* p2;
        TOrbWindowMode mode;
        Calls want;
    };
    const auto normal = TOrbWindowMode::awmNormal;
    const Case cases[] = {
        {aatRunProgram, L"%CDROM%\\setup\\run.exe", L"/lang=%%ENV-LANG%%", TOrbWindowMode::awmMaximized,
         {L"exec open|E:\\setup\\run.exe|/lang=de|E:\\setup|3"}},
        {aatRunProgram, L"%cdrom%\\run.exe", L"", TOrbWindowMode::awmHidden, {L"exec open|E:\\run.exe||E:\\|0"}},
        {aatRunProgram, L"", L"x", normal, {}},
        {aatRunProgramAsAdmin, L"", L"x", normal, {}},
        {aatOpenDocument, L"%CDROM%\\a.pdf", L"ignored", TOrbWindowMode::awmHidden, {L"exec |E:\\a.pdf|||5"}},
        {aatOpenDocument, L"", L"", normal, {}},
        {aatExplore, L"", L"", normal, {L"exec explore|E:\\|||9"}},
        {aatExplore, L"%WinDir%", L"1", normal, {L"exec explore|C:\\WINDOWS|||3"}},
        {aatExplore, L"%WinDir%", L"2", normal, {L"exec open|C:\\WINDOWS|||9"}},
        {aatExplore, L"%WinDir%", L"3", normal, {L"exec open|C:\\WINDOWS|||3"}},
        {aatExplore, L"%WinDir%", L"many", normal, {L"exec explore|C:\\WINDOWS|||9"}},
        {aatGotoWeb, L"www.example.com", L"", normal, {L"exec open|http://www.example.com|||1"}},
        {aatGotoWeb, L"mailto:a@b.c", L"", normal, {L"exec open|mailto:a@b.c|||1"}},
        {aatGotoWeb, L"", L"", normal, {L"exec open|about:blank|||1"}},
        {aatGotoWeb, L"%CDROM%", L"", normal, {L"exec open|http://%CDROM%|||1"}},  // no macros in addresses
        {aatMail, L"a@b.c", L"Hello there", normal, {L"exec open|mailto:a@b.c?subject=Hello%20there|||1"}},
        {aatMail, L"a@b.c", L"", normal, {L"exec open|mailto:a@b.c?subject=|||1"}},
        {aatPopupMessage, L"", L"", normal, {}},
        {aatJumpToPage, L"", L"", normal, {}},
        {aatMinimize, L"", L"", normal, {L"minimize"}},
        {aatCopy, L"CONLY", L"", normal, {L"copy 1"}},
        {aatCopy, L"conly", L"", normal, {L"copy 0"}},
        {aatPrint, L"CONLY", L"", normal, {L"print 1"}},
        {aatPrint, L"", L"", normal, {L"print 0"}},
        {aatExit, L"", L"", normal, {L"close"}},
        {aatEject, L"", L"", normal, {L"close", L"eject E"}},
        {aatShowPicture, L"a.jpg", L"", normal, {}},
        {aatSlideShow, L"pics", L"", normal, {}},
        {aatControlIA, L"x", L"", normal, {}},
        {aatPopupMenu, L"x", L"", normal, {}},
        {aatNone, L"x", L"", normal, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(perform(c.kind, c.p1, c.p2, c.mode), c.want)
            << static_cast<int>(c.kind) << " " << utf16ToUtf8(c.p1) << " got " << show(sys_.calls);
}

TEST_F(Dispatch, PopupMessagesUnescapeAndPickTheirBox) {
    using enum TOrbActionType;
    EXPECT_EQ(perform(aatPopupMessage, L"Two\\nlines", L"warning"), Calls{L"sysmsg Two\nlines|Menu|48"});
    EXPECT_EQ(perform(aatPopupMessage, L"Hi", L"Warning"), Calls{L"sysmsg Hi|Menu|64"});
    EXPECT_EQ(perform(aatPopupMessage, L"bad \\400", L"warning"), Calls{L"failure Numeric constant too large."});
    form_->sysMsgBox = false;
    EXPECT_EQ(perform(aatPopupMessage, L"Tab\\there", L"warning"), Calls{L"menumsg Tab\there"});
}

TEST_F(Dispatch, ShellErrorsKeepThePathIntact) {
    sys_.shellResult = 2;
    // \n and \t in the path must not become a line break and a tab.
    Calls got = perform(TOrbActionType::aatRunProgram, L"%CDROM%\\new\\tools\\run.exe");
    ASSERT_EQ(got.size(), 2u) << show(got);
    EXPECT_EQ(got[1],
              L"sysmsg Unable to open 'E:\\new\\tools\\run.exe'. The file or path doesn't exist.|Menu|48");
    sys_.shellResult = 33;
    EXPECT_EQ(perform(TOrbActionType::aatOpenDocument, L"x.txt").size(), 1u);
    sys_.shellResult = 32;
    got = perform(TOrbActionType::aatOpenDocument, L"\"q\".txt");
    ASSERT_EQ(got.size(), 2u) << show(got);
    EXPECT_EQ(got[1], L"sysmsg Unable to open '\"q\".txt'. Unable to locate required dynamic-link library.|Menu|48");
}

TEST_F(Dispatch, ElevatedRuns) {
    using enum TOrbActionType;
    EXPECT_EQ(perform(aatRunProgramAsAdmin, L"%CDROM%\\a\\setup.exe", L"-q", TOrbWindowMode::awmMinimized),
              Calls{L"runas E:\\a\\setup.exe|-q|E:\\a|7"});
    sys_.elevated = {false, 5, 1223};  // the user said no: nothing to report
    EXPECT_EQ(perform(aatRunProgramAsAdmin, L"%CDROM%\\setup.exe").size(), 1u);
    sys_.elevated = {false, 2, 2};
    Calls got = perform(aatRunProgramAsAdmin, L"%CDROM%\\setup.exe");
    ASSERT_EQ(got.size(), 2u) << show(got);
    // The report names the path as the project wrote it.
    EXPECT_EQ(got[1], L"sysmsg Unable to open '%CDROM%\\setup.exe'. The file or path doesn't exist.|Menu|48");
    sys_.elevated = {false, 42, 5};
    EXPECT_EQ(perform(aatRunProgramAsAdmin, L"%CDROM%\\setup.exe").size(), 1u);
    sys_.major = 5;
    EXPECT_EQ(perform(aatRunProgramAsAdmin, L"%CDROM%\\setup.exe", L"-q"), Calls{L"exec open|E:\\setup.exe|-q|E:\\|1"});
}

TEST_F(Dispatch, JumpsStayInsideThePages) {
    perform(TOrbActionType::aatJumpToPage, L"NEXT");
    EXPECT_EQ(form_->activePage(), 2);
    perform(TOrbActionType::aatJumpToPage, L"NEXT");
    perform(TOrbActionType::aatJumpToPage, L"NEXT");
    EXPECT_EQ(form_->activePage(), 3);
    perform(TOrbActionType::aatJumpToPage, L"0");
    EXPECT_EQ(form_->activePage(), 0);
    perform(TOrbActionType::aatJumpToPage, L"PREV");
    EXPECT_EQ(form_->activePage(), 0);
    form_->setActivePage(1);
    form_->setAlwaysShowPageZero(true);
    perform(TOrbActionType::aatJumpToPage, L"PREV");
    EXPECT_EQ(form_->activePage(), 1);
}

TEST_F(Dispatch, CommandLinks) {
    struct Case {
        const wchar_t* link;
        Calls want;
        int32_t page;
    };
    const Case cases[] = {
        {L"ORB://EXIT", {L"close"}, 1},
        {L"orb://minimize/", {L"minimize"}, 1},
        {L"orb://run/%CDROM%/tools/x.exe|/a%20/b", {L"exec open|E:\\tools\\x.exe|\\a \\b|E:\\tools|1"}, 1},
        {L"orb://runas/%CDROM%/setup.exe|&quot;a&nbsp;b&quot;", {L"runas E:\\setup.exe|\"a b\"|E:\\|1"}, 1},
        {L"orb://open/%CDROM%/docs/read%20me.pdf", {L"exec |E:\\docs\\read me.pdf|||5"}, 1},
        {L"orb://explore/%CDROM%/docs", {L"exec explore|E:\\docs|||9"}, 1},
        {L"orb://page/sECOND%20PAGE/", {}, 1},
        {L"orb://page/tools", {}, 2},
        {L"orb://page/extras", {}, 3},
        {L"orb://page/beyond", {}, 1},  // past PageCount
        {L"orb://page/next", {}, 2},
        {L"orb://page/nowhere", {}, 1},
        {L"orb://copy/noframe", {L"copy 1"}, 1},
        {L"orb://copy/NoFrame", {L"copy 1"}, 1},
        {L"orb://print", {L"print 0"}, 1},
        {L"orb://message/Hello\\nworld", {L"sysmsg Hello\nworld|Menu|64"}, 1},
        {L"orb://message/a/b%20c", {L"sysmsg a/b%20c|Menu|64"}, 1},
        {L"orb://format/c", {}, 1},
        {L"orb:///", {}, 1},
        {L"", {}, 1},
        {L"http://example.com/", {L"exec open|http://example.com/|||1"}, 1},
        {L"www.example.com", {L"exec open|http://www.example.com|||1"}, 1},
    };
    for (const auto& c : cases) {
        form_->setActivePage(1);
        EXPECT_EQ(link(c.link), c.want) << utf16ToUtf8(c.link) << " got " << show(sys_.calls);
        EXPECT_EQ(form_->activePage(), c.page) << utf16ToUtf8(c.link);
    }
}

TEST_F(Dispatch, RemotePagesGetNavigationOnly) {
    const std::pair<const wchar_t*, Calls> cases[] = {
        {L"orb://run/C:/Windows/system32/cmd.exe|/c%20del", {}},
        {L"orb://runas/%SysDir%/cmd.exe", {}},
        {L"orb://open/%SysDir%/calc.exe", {}},
        {L"orb://explore/%5C%5Chost/share", {}},
        {L"file:///C:/Windows/system32/calc.exe", {}},
        {L"C:\\Windows\\system32\\calc.exe", {}},
        {L"orb://exit", {L"close"}},
        {L"orb://message/hi", {L"sysmsg hi|Menu|64"}},
        {L"https://example.com/", {L"exec open|https://example.com/|||1"}},
    };
    for (const auto& [text, want] : cases)
        EXPECT_EQ(link(text, LinkOrigin::RemotePage), want) << utf16ToUtf8(text) << " got " << show(sys_.calls);
    EXPECT_EQ(link(L"orb://page/tools", LinkOrigin::RemotePage), Calls{});
    EXPECT_EQ(form_->activePage(), 2);
    EXPECT_EQ(link(L"orb://run/%CDROM%/a.exe", LinkOrigin::LocalPage), Calls{L"exec open|E:\\a.exe||E:\\|1"});
}

TEST_F(Dispatch, LocateOpensTheTargetsFolder) {
    using enum TOrbActionType;
    const std::tuple<TOrbActionType, const wchar_t*, Calls> cases[] = {
        {aatRunProgram, L"%CDROM%\\bin\\a.exe", {L"exec explore|E:\\bin|||9"}},
        {aatRunProgramAsAdmin, L"%WinDir%\\a.exe", {L"exec explore|C:\\WINDOWS|||9"}},
        {aatOpenDocument, L"a.pdf", {L"exec explore|E:\\|||9"}},  // no folder: the project's
        {aatExplore, L"", {L"exec explore|E:\\|||9"}},
        {aatExplore, L"%SysDir%", {L"exec explore|C:\\WINDOWS\\system32|||9"}},
        {aatGotoWeb, L"www.example.com", {}},
        {aatJumpToPage, L"2", {}},
    };
    for (const auto& [kind, parameter, want] : cases) {
        sys_.calls.clear();
        ActionDispatcher(*form_, sys_).locateTarget(kind, parameter);
        EXPECT_EQ(sys_.calls, want) << static_cast<int>(kind) << " got " << show(sys_.calls);
    }
}

TEST_F(Dispatch, BackgroundMusicSwitch) {
    bool playing = false;
    Calls music;
    BackgroundMusic saved = backgroundMusic();
    backgroundMusic() = {[&](TOrbForm&) { return playing; },
                         [&](TOrbForm&) { music.push_back(L"play"), playing = true; },
                         [&](TOrbForm&) { music.push_back(L"stop"), playing = false; }};
    ActionDispatcher d(*form_, sys_);
    d.controlBackgroundMusic(TOrbBGMusicControl::amcToggleBGMusic);
    d.controlBackgroundMusic(TOrbBGMusicControl::amcToggleBGMusic);
    d.controlBackgroundMusic(TOrbBGMusicControl::amcNone);
    d.controlBackgroundMusic(TOrbBGMusicControl::amcStopAndResume);
    d.controlBackgroundMusic(TOrbBGMusicControl::amcPlayBGMusic);
    d.controlBackgroundMusic(TOrbBGMusicControl::amcStopBGMusic);
    EXPECT_EQ(music, (Calls{L"play", L"stop", L"play", L"stop"}));
    backgroundMusic() = saved;
}
