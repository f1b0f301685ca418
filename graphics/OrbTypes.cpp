#include "graphics/OrbTypes.h"

namespace orb {

const EnumType& fillStyleType() {
    static const EnumType t{"TOrbFillStyle", {"afsNormal", "afsGradient", "afsGlyph"}};
    return t;
}
const EnumType& windowStyleType() {
    static const EnumType t{"TOrbWindowStyle", {"awsNormal", "awsNoBorder", "awsFullScreen", "awsShaped"}};
    return t;
}
const EnumType& positionStyleType() {
    static const EnumType t{"TOrbPosition", {"apsLeftTop", "apsLeftBottom", "apsRightTop", "apsRightBottom"}};
    return t;
}
const EnumType& windowModeType() {
    static const EnumType t{"TOrbWindowMode", {"awmNormal", "awmMaximized", "awmMinimized", "awmHidden"}};
    return t;
}
const EnumType& textRenderModeType() {
    static const EnumType t{"TOrbTextRenderMode", {"atmSystemDefault", "atmAntiAlias"}};
    return t;
}
const EnumType& actionTypeType() {
    static const EnumType t{"TOrbActionType",
                            {"aatNone", "aatRunProgram", "aatRunProgramAsAdmin", "aatOpenDocument", "aatExplore",
                             "aatGotoWeb", "aatMail", "aatPopupMessage", "aatShowPicture", "aatSlideShow",
                             "aatControlIA", "aatJumpToPage", "aatMinimize", "aatCopy", "aatPrint", "aatPopupMenu",
                             "aatExit", "aatEject"}};
    return t;
}
const EnumType& bgMusicControlType() {
    static const EnumType t{"TOrbBGMusicControl",
                            {"amcNone", "amcPlayBGMusic", "amcStopBGMusic", "amcToggleBGMusic", "amcStopAndResume"}};
    return t;
}
const EnumType& spWindowStyleType() {
    static const EnumType t{"TSPWindowStyle", {"swsNormal", "swsNoBorder", "swsShaped"}};
    return t;
}
const EnumType& controlIATypeType() {
    static const EnumType t{"TOrbControlIAType",
                            {"iatNone", "iatImage", "iatTextBox", "iatRichText", "iatMusicPlayer", "iatFlash",
                             "iatWebBrowser", "iatMediaPlayer", "iatPDFViewer"}};
    return t;
}
const EnumType& buttonStyleType() {
    static const EnumType t{"TOrbButtonStyle",
                            {"absWindows", "absNormal", "absSolid", "absSemiTransparent", "absTransparent", "absFlat",
                             "absNoBorder", "absHotSpot"}};
    return t;
}
const EnumType& glyphLayoutType() {
    static const EnumType t{"TOrbGlyphLayout", {"aglGlyphLeft", "aglGlyphRight", "aglGlyphTop", "aglGlyphBottom"}};
    return t;
}
const EnumType& coolButtonTextStyleType() {
    static const EnumType t{"TOrbCoolButtonTextStyle", {"abtNormal", "abtLowered", "abtRaised"}};
    return t;
}
const EnumType& horizontalAlignmentType() {
    static const EnumType t{"TOrbHorizontalAlignment", {"ahaLeft", "ahaCenter", "ahaRight"}};
    return t;
}
const EnumType& verticalAlignmentType() {
    static const EnumType t{"TOrbVerticalAlignment", {"avaTop", "avaMiddle", "avaBottom"}};
    return t;
}
const EnumType& gradFillStyleType() {
    static const EnumType t{
        "TOrbGradFillStyle",
        {"agsLinearH",     "agsLinearV",     "agsReflectedH",  "agsReflectedV",  "agsRectangleC", "agsRectangleL",
         "agsRectangleR",  "agsRectangleT",  "agsRectangleB",  "agsRectangleLT", "agsRectangleLB", "agsRectangleRT",
         "agsRectangleRB", "agsRadialC",     "agsRadialL",     "agsRadialR",     "agsRadialT",    "agsRadialB",
         "agsRadialLT",    "agsRadialLB",    "agsRadialRT",    "agsRadialRB",    "agsDiagonalLF", "agsDiagonalLB",
         "agsDiagonalRF",  "agsDiagonalRB",  "agsArrowL",      "agsArrowR",      "agsArrowU",     "agsArrowD",
         "agsDiamond",     "agsButterfly"}};
    return t;
}

}  // namespace orb
