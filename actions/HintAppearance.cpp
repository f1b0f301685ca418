#include "actions/HintAppearance.h"

#include "app/OrbForm.h"

namespace orb {

HintAppearance& hintAppearance() {
    static HintAppearance record;
    return record;
}

HintTiming& hintTiming() {
    static HintTiming timing;
    return timing;
}

void writeHintAppearance(const TOrbForm& form) {
    HintAppearance& r = hintAppearance();
    r.direction = form.hintDirection;
    r.borderColor = form.hintBorderColor;
    r.faceColor = form.hintColor;
    r.shadowColor = form.hintShadowColor;
    r.shadowOffset = form.hintShadowOffset;
    r.font.assign(form.hintFont);
    r.backgroundStyle = form.hintBGStyle;
    r.gradientStyle = form.hintGradStyle;
    r.gradientBegin = form.hintGradBeginColor;
    r.gradientEnd = form.hintGradEndColor;
    r.pictureClass = form.hintBGImage.graphicClassName();
    r.pictureBytes = form.hintBGImage.graphic() ? form.hintBGImage.graphic()->fileBytes() : std::vector<uint8_t>{};
    r.opacity = form.hintOpacity();
}

void ApplyHintSettings(const TOrbForm& form) {
    HintTiming& t = hintTiming();
    bool design = form.designMode();
    t.pause = design ? 500 : form.custHintPause;
    t.hidePause = design ? 2500 : form.custHintHidePause;
    t.programHintWindow = form.useCustomizedHint && !design;
    t.shortPause = t.programHintWindow ? 100 : 50;
}

}  // namespace orb
