#pragma once
// Enumerations stored by name in projects and shared by many classes.
#include "core/ClassInfo.h"

namespace orb {

enum class TOrbFillStyle : int32_t { afsNormal, afsGradient, afsGlyph };
enum class TOrbWindowStyle : int32_t { awsNormal, awsNoBorder, awsFullScreen, awsShaped };
enum class TOrbPosition : int32_t { apsLeftTop, apsLeftBottom, apsRightTop, apsRightBottom };
enum class TOrbTextRenderMode : int32_t { atmSystemDefault, atmAntiAlias };
enum class TOrbWindowMode : int32_t { awmNormal, awmMaximized, awmMinimized, awmHidden };
enum class TOrbActionType : int32_t {
    aatNone, aatRunProgram, aatRunProgramAsAdmin, aatOpenDocument, aatExplore, aatGotoWeb, aatMail,
    aatPopupMessage, aatShowPicture, aatSlideShow, aatControlIA, aatJumpToPage, aatMinimize, aatCopy, aatPrint,
    aatPopupMenu, aatExit, aatEject
};
enum class TOrbBGMusicControl : int32_t {
    amcNone, amcPlayBGMusic, amcStopBGMusic, amcToggleBGMusic, amcStopAndResume
};
// The 32 gradient styles, in their stored order; agsLinearH is 0.
enum class TOrbGradFillStyle : int32_t {
    agsLinearH, agsLinearV, agsReflectedH, agsReflectedV, agsRectangleC, agsRectangleL, agsRectangleR,
    agsRectangleT, agsRectangleB, agsRectangleLT, agsRectangleLB, agsRectangleRT, agsRectangleRB, agsRadialC,
    agsRadialL, agsRadialR, agsRadialT, agsRadialB, agsRadialLT, agsRadialLB, agsRadialRT, agsRadialRB,
    agsDiagonalLF, agsDiagonalLB, agsDiagonalRF, agsDiagonalRB, agsArrowL, agsArrowR, agsArrowU, agsArrowD,
    agsDiamond, agsButterfly
};

// Controls' look and the picture viewer's window.
enum class TSPWindowStyle : int32_t { swsNormal, swsNoBorder, swsShaped };
enum class TOrbControlIAType : int32_t {
    iatNone, iatImage, iatTextBox, iatRichText, iatMusicPlayer, iatFlash, iatWebBrowser, iatMediaPlayer, iatPDFViewer
};
enum class TOrbButtonStyle : int32_t {
    absWindows, absNormal, absSolid, absSemiTransparent, absTransparent, absFlat, absNoBorder, absHotSpot
};
enum class TOrbGlyphLayout : int32_t { aglGlyphLeft, aglGlyphRight, aglGlyphTop, aglGlyphBottom };
enum class TOrbCoolButtonTextStyle : int32_t { abtNormal, abtLowered, abtRaised };
enum class TOrbHorizontalAlignment : int32_t { ahaLeft, ahaCenter, ahaRight };
enum class TOrbVerticalAlignment : int32_t { avaTop, avaMiddle, avaBottom };

const EnumType& fillStyleType();
const EnumType& windowStyleType();
const EnumType& positionStyleType();
const EnumType& windowModeType();
const EnumType& gradFillStyleType();
const EnumType& textRenderModeType();
const EnumType& actionTypeType();
const EnumType& bgMusicControlType();
const EnumType& spWindowStyleType();
const EnumType& controlIATypeType();
const EnumType& buttonStyleType();
const EnumType& glyphLayoutType();
const EnumType& coolButtonTextStyleType();
const EnumType& horizontalAlignmentType();
const EnumType& verticalAlignmentType();

}  // namespace orb
