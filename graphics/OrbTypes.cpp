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
