#pragma once
// How hints look and when they show: one record for the process, written by
// the main window from its hint properties and read by whatever shows hints.
#include <memory>
#include <string>
#include <vector>

#include "core/Font.h"
#include "core/Identifiers.h"
#include "graphics/OrbTypes.h"

namespace orb {

class TOrbForm;

struct HintAppearance {
    TOrbPosition direction = TOrbPosition::apsLeftTop;
    Color borderColor = 0, faceColor = 0, shadowColor = 0;
    int32_t shadowOffset = 0;
    Font font;
    TOrbFillStyle backgroundStyle = TOrbFillStyle::afsNormal;
    TOrbGradFillStyle gradientStyle = TOrbGradFillStyle::agsLinearH;
    Color gradientBegin = 0, gradientEnd = 0;
    // The background picture as its graphic class and file bytes.
    std::string pictureClass;
    std::vector<uint8_t> pictureBytes;
    int32_t opacity = 100;
};
HintAppearance& hintAppearance();

// The application's hint timing, in milliseconds, and whose window shows hints.
struct HintTiming {
    int32_t pause = 500, hidePause = 2500, shortPause = 50;
    bool programHintWindow = false;
};
HintTiming& hintTiming();

// Copies the form's hint properties into the process-wide record.
void writeHintAppearance(const TOrbForm& form);
// The timing and window the form asks for, once at start-up.
void ApplyHintSettings(const TOrbForm& form);

}  // namespace orb
