#pragma once
// Replacement texts a project may supply, their built-in values, and the
// version block carried for the authoring side.
#include <array>
#include <string>

#include "core/Component.h"

namespace orb {

enum class TextId {
    ActionCannotOpen, ActionFileNotFound, ActionNoAssociation, ActionAccessDenied, ActionInvalidExecutable,
    ActionDDEFailed, ActionDllNotFound, ActionSharingVioldation, ActionOutOfMemory, SlideShowNoImage,
    SlideShowMessage, SlideShowMessageManual, NoFlashMessage, NoIE4Message, NoWMPMessage, NoAcrobatMessage,
    MusicPlayerDefaultSkin, MusicPlayerFilterAll, MusicPlayerFilterMusic, MusicPlayerFilterPlaylist, PasswordPrompt,
    Count
};
inline constexpr size_t kTextCount = static_cast<size_t>(TextId::Count);

class TOrbTextTranslation final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    std::array<std::wstring, kTextCount> texts;  // empty: the built-in text applies
};

const std::wstring& builtInText(TextId id);
// The texts the rest of the program shows; built-in until a project replaces them.
const std::wstring& effectiveText(TextId id);
void applyTextTranslation(const TOrbTextTranslation& translation);
void resetEffectiveTexts();

class TOrbUserVersion final : public Persistent {
public:
    const ClassInfo& classInfo() const override { return staticClass(); }
    static const ClassInfo& staticClass();
    uint16_t fileVerMajor = 0, fileVerMinor = 0, fileVerRelease = 0, fileVerBuild = 0;
    std::wstring description, copyright, comments, company;
};

}  // namespace orb
