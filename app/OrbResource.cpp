#include "app/OrbResource.h"

namespace orb {

namespace {

struct TextEntry {
    const char* property;
    const wchar_t* builtIn;
};

// Property names as the project format spells them (ActionSharingVioldation included).
constexpr std::array<TextEntry, kTextCount> kTexts = {{
    {"ActionCannotOpen", L"Unable to open '%s'."},
    {"ActionFileNotFound", L"The file or path doesn't exist."},
    {"ActionNoAssociation", L"There is no application associated with the given file name extension or protocol."},
    {"ActionAccessDenied", L"The application doesn't exist or access denied."},
    {"ActionInvalidExecutable", L"The executable file is invalid."},
    {"ActionDDEFailed", L"DDE transaction failed."},
    {"ActionDllNotFound", L"Unable to locate required dynamic-link library."},
    {"ActionSharingVioldation", L"A sharing violation occurred."},
    {"ActionOutOfMemory", L"Out of memory."},
    {"SlideShowNoImage", L"Unable to find any supported image file in %s."},
    {"SlideShowMessage", L"Press ESC to quit, double click for next picture."},
    {"SlideShowMessageManual", L"Press ESC to quit, click left button for next picture."},
    {"NoFlashMessage", L"FLASH PLAYER IS NOT INSTALLED\\nCLICK HERE TO GET IT"},
    {"NoIE4Message", L"INTERNET EXPLORER IS NOT INSTALLED\\nCLICK HERE TO GET IT"},
    {"NoWMPMessage", L"WINDOWS MEDIA PLAYER IS NOT INSTALLED\\nCLICK HERE TO GET IT"},
    {"NoAcrobatMessage", L"ADOBE READER IS NOT INSTALLED\\nCLICK HERE TO GET IT"},
    {"MusicPlayerDefaultSkin", L"Default Skin"},
    {"MusicPlayerFilterAll", L"All Supported Files"},
    {"MusicPlayerFilterMusic", L"Music Files"},
    {"MusicPlayerFilterPlaylist", L"Play List Files"},
    {"PasswordPrompt", L"&Enter Password:"},
}};

const std::array<std::wstring, kTextCount>& builtInTexts() {
    static const std::array<std::wstring, kTextCount> texts = [] {
        std::array<std::wstring, kTextCount> t;
        for (size_t i = 0; i < kTextCount; ++i) t[i] = kTexts[i].builtIn;
        return t;
    }();
    return texts;
}

std::array<std::wstring, kTextCount>& effective() {
    static std::array<std::wstring, kTextCount> texts = builtInTexts();
    return texts;
}

}  // namespace

const ClassInfo& TOrbTextTranslation::staticClass() {
    static const ClassInfo info = [] {
        ClassInfo ci{"TOrbTextTranslation", &Persistent::staticClass(), {}, {}};
        for (size_t i = 0; i < kTextCount; ++i) {
            PropInfo p;
            p.name = kTexts[i].property;
            p.kind = PropKind::WideString;
            p.defaultValue = std::wstring();
            p.get = [i](const Persistent& o) { return Scalar(static_cast<const TOrbTextTranslation&>(o).texts[i]); };
            p.set = [i](Persistent& o, const Scalar& v) {
                static_cast<TOrbTextTranslation&>(o).texts[i] = std::get<std::wstring>(v);
            };
            ci.properties.push_back(std::move(p));
        }
        return ci;
    }();
    return info;
}

const std::wstring& builtInText(TextId id) { return builtInTexts()[static_cast<size_t>(id)]; }

const std::wstring& effectiveText(TextId id) { return effective()[static_cast<size_t>(id)]; }

void applyTextTranslation(const TOrbTextTranslation& translation) {
    for (size_t i = 0; i < kTextCount; ++i)
        effective()[i] = translation.texts[i].empty() ? builtInText(static_cast<TextId>(i)) : translation.texts[i];
}

void resetEffectiveTexts() { effective() = builtInTexts(); }

const ClassInfo& TOrbUserVersion::staticClass() {
    static const ClassInfo info = [] {
        ClassBuilder<TOrbUserVersion> b("TOrbUserVersion", &Persistent::staticClass());
        b.field("FileVerMajor", PropKind::Integer, &TOrbUserVersion::fileVerMajor);
        b.field("FileVerMinor", PropKind::Integer, &TOrbUserVersion::fileVerMinor);
        b.field("FileVerRelease", PropKind::Integer, &TOrbUserVersion::fileVerRelease);
        b.field("FileVerBuild", PropKind::Integer, &TOrbUserVersion::fileVerBuild);
        b.wide("Description", &TOrbUserVersion::description);
        b.wide("Copyright", &TOrbUserVersion::copyright);
        b.wide("Comments", &TOrbUserVersion::comments);
        b.wide("Company", &TOrbUserVersion::company);
        return b.build();
    }();
    return info;
}

}  // namespace orb
