#include "actions/ActionDispatch.h"

#include "actions/OrbEscape.h"
#include "actions/OrbMacros.h"
#include "core/Errors.h"
#include "core/Text.h"

namespace orb {

namespace {

constexpr uint32_t kWarningIcon = 0x30, kInformationIcon = 0x40;
constexpr uint32_t kCancelledByUser = 1223;

bool needsParameter(TOrbActionType kind) {
    switch (kind) {
        case TOrbActionType::aatRunProgram:
        case TOrbActionType::aatRunProgramAsAdmin:
        case TOrbActionType::aatOpenDocument:
        case TOrbActionType::aatPopupMessage:
        case TOrbActionType::aatJumpToPage: return true;
        default: return false;
    }
}

}  // namespace

BackgroundMusic& backgroundMusic() {
    static BackgroundMusic music;
    return music;
}

void ActionDispatcher::performAction(TOrbActionType kind, const std::wstring& parameter,
                                     const std::wstring& secondParam, TOrbWindowMode mode) {
    using enum TOrbActionType;
    if (parameter.empty() && needsParameter(kind)) return;
    switch (kind) {
        case aatRunProgram: {
            std::wstring file = ExpandMacros(parameter);
            shellOpen(L"open", file, ExpandMacros(secondParam), folderOf(file), showCommandFor(mode));
            break;
        }
        case aatRunProgramAsAdmin: runAsAdmin(parameter, secondParam, mode); break;
        case aatOpenDocument: shellOpen({}, ExpandMacros(parameter), {}, {}, 5); break;
        case aatExplore: {
            std::wstring folder = ExpandMacros(parameter.empty() ? std::wstring(L"%CDROM%\\") : parameter);
            ExploreChoice choice = exploreChoiceFor(secondParam);
            shellOpen(choice.verb, folder, {}, {}, choice.showCommand);
            break;
        }
        // Addresses are taken as written: a "%" in a URL is the address's own.
        case aatGotoWeb: shellOpen(L"open", webAddress(parameter), {}, {}, 1); break;
        case aatMail: shellOpen(L"open", mailLink(parameter, secondParam), {}, {}, 1); break;
        case aatPopupMessage: popupMessage(parameter, secondParam); break;
        case aatJumpToPage: jumpToPage(parameter); break;
        case aatMinimize: system_.minimize(); break;
        case aatCopy: form_.CopyWindowImage(parameter == L"CONLY"); break;
        case aatPrint: form_.PrintWindowImage(parameter == L"CONLY"); break;
        case aatExit: system_.close(); break;
        case aatEject: {
            // The window goes first: the eject program waits for menuhost to end.
            std::wstring projectDir = processMacroValues().cdrom;
            system_.close();
            if (!projectDir.empty()) system_.ejectDisc(projectDir.front());
            break;
        }
        // The control performs these itself.
        case aatNone:
        case aatShowPicture:
        case aatSlideShow:
        case aatControlIA:
        case aatPopupMenu: break;
    }
}

void ActionDispatcher::runAsAdmin(const std::wstring& parameter, const std::wstring& secondParam,
                                  TOrbWindowMode mode) {
    // Before Windows 6 there is no elevation: the user either is an administrator or is not.
    if (system_.windowsMajorVersion() < 6) {
        performAction(TOrbActionType::aatRunProgram, parameter, secondParam, mode);
        return;
    }
    std::wstring file = ExpandMacros(parameter);
    ElevatedLaunch result =
        system_.shellExecuteElevated(file, ExpandMacros(secondParam), folderOf(file), showCommandFor(mode));
    if (result.started || result.lastError == kCancelledByUser) return;
    if (result.instance <= 32) reportShellError(parameter, result.instance);
}

void ActionDispatcher::popupMessage(const std::wstring& parameter, const std::wstring& secondParam) {
    std::wstring text;
    try {
        text = UnescapeText(parameter);
    } catch (const OrbError& e) {
        system_.reportFailure(utf8ToUtf16(e.what()));
        return;
    }
    if (form_.sysMsgBox)
        system_.systemMessage(text, form_.caption(), secondParam == L"warning" ? kWarningIcon : kInformationIcon);
    else
        system_.menuMessage(text);
}

void ActionDispatcher::jumpToPage(const std::wstring& parameter) {
    if (auto target = jumpTarget(parameter, form_.activePage(), form_.pageCount, form_.alwaysShowPageZero()))
        form_.setActivePage(*target);
}

void ActionDispatcher::shellOpen(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                                 const std::wstring& directory, int showCommand) {
    intptr_t result = system_.shellExecute(verb, file, parameters, directory, showCommand);
    if (result <= 32) reportShellError(file, result);
}

void ActionDispatcher::reportShellError(const std::wstring& file, intptr_t code) {
    // The message goes through the popup action, which unescapes: escaping
    // keeps "\n" or "\t" in a path from turning into line breaks and tabs.
    performAction(TOrbActionType::aatPopupMessage, EscapeText(shellErrorMessage(file, code)), L"warning",
                  TOrbWindowMode::awmNormal);
}

void ActionDispatcher::handleLink(const std::wstring& link, LinkOrigin origin) {
    if (link.empty()) return;
    ParsedLink parsed = parseLink(link);
    if (parsed.isCommand) {
        if (!parsed.command.empty() && linkCommandAllowed(linkCommandOf(parsed.command), origin))
            executeCommandLink(parsed.command, parsed.argument);
        return;
    }
    if (linkAddressAllowed(link, origin))
        performAction(TOrbActionType::aatGotoWeb, link, {}, TOrbWindowMode::awmNormal);
}

void ActionDispatcher::executeCommandLink(const std::wstring& command, const std::wstring& argument) {
    using enum TOrbActionType;
    const auto normal = TOrbWindowMode::awmNormal;
    switch (linkCommandOf(command)) {
        case LinkCommand::Run:
        case LinkCommand::RunAs: {
            auto [program, parameters] = splitProgram(fullyDecoded(argument));
            performAction(linkCommandOf(command) == LinkCommand::Run ? aatRunProgram : aatRunProgramAsAdmin, program,
                          parameters, normal);
            break;
        }
        case LinkCommand::Open: performAction(aatOpenDocument, pathDecoded(argument), {}, normal); break;
        case LinkCommand::Explore: performAction(aatExplore, pathDecoded(argument), {}, normal); break;
        case LinkCommand::Page: {
            std::wstring page = upperCase(argument);
            if (page == L"PREV" || page == L"NEXT") {
                performAction(aatJumpToPage, page, {}, normal);
            } else if (auto index = pageIndexByName(page, form_.pages.lines, form_.pageCount)) {
                performAction(aatJumpToPage, std::to_wstring(*index), {}, normal);
            }
            break;
        }
        case LinkCommand::Copy: form_.CopyWindowImage(lowerAscii(argument) == L"noframe"); break;
        case LinkCommand::Print: form_.PrintWindowImage(lowerAscii(argument) == L"noframe"); break;
        case LinkCommand::Message: performAction(aatPopupMessage, argument, {}, normal); break;
        case LinkCommand::Minimize: performAction(aatMinimize, {}, {}, normal); break;
        case LinkCommand::Exit: performAction(aatExit, {}, {}, normal); break;
        case LinkCommand::Unknown: break;
    }
}

void ActionDispatcher::locateTarget(TOrbActionType kind, const std::wstring& parameter) {
    using enum TOrbActionType;
    std::wstring folder;
    switch (kind) {
        case aatRunProgram:
        case aatRunProgramAsAdmin:
        case aatOpenDocument: folder = folderOf(ExpandMacros(parameter)); break;
        case aatExplore: folder = ExpandMacros(parameter.empty() ? std::wstring(L"%CDROM%\\") : parameter); break;
        default: return;
    }
    performAction(aatExplore, folder, L"0", TOrbWindowMode::awmNormal);
}

void ActionDispatcher::controlBackgroundMusic(TOrbBGMusicControl control) {
    BackgroundMusic& music = backgroundMusic();
    auto play = [&] {
        if (music.play) music.play(form_);
    };
    auto stop = [&] {
        if (music.stop) music.stop(form_);
    };
    switch (control) {
        case TOrbBGMusicControl::amcPlayBGMusic: play(); break;
        case TOrbBGMusicControl::amcStopBGMusic: stop(); break;
        case TOrbBGMusicControl::amcToggleBGMusic:
            if (music.isPlaying && music.isPlaying(form_))
                stop();
            else
                play();
            break;
        // Stop-and-resume is the control's business around the action.
        case TOrbBGMusicControl::amcNone:
        case TOrbBGMusicControl::amcStopAndResume: break;
    }
}

}  // namespace orb
