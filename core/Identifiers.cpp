#include "core/Identifiers.h"

namespace orb {

const IdentMap& colorIdents() {
    static const IdentMap m{"TColor",
                            {{"clBlack", 0x000000},
                             {"clMaroon", 0x000080},
                             {"clGreen", 0x008000},
                             {"clOlive", 0x008080},
                             {"clNavy", 0x800000},
                             {"clPurple", 0x800080},
                             {"clTeal", 0x808000},
                             {"clGray", 0x808080},
                             {"clSilver", 0xC0C0C0},
                             {"clRed", 0x0000FF},
                             {"clLime", 0x00FF00},
                             {"clYellow", 0x00FFFF},
                             {"clBlue", 0xFF0000},
                             {"clFuchsia", 0xFF00FF},
                             {"clAqua", 0xFFFF00},
                             {"clLtGray", 0xC0C0C0},
                             {"clDkGray", 0x808080},
                             {"clWhite", 0xFFFFFF},
                             {"clMoneyGreen", 0xC0DCC0},
                             {"clSkyBlue", 0xF0CAA6},
                             {"clCream", 0xF0FBFF},
                             {"clMedGray", 0xA4A0A0},
                             {"clNone", kClNone},
                             {"clDefault", kClDefault},
                             {"clScrollBar", static_cast<int32_t>(0xFF000000)},
                             {"clBackground", static_cast<int32_t>(0xFF000001)},
                             {"clActiveCaption", static_cast<int32_t>(0xFF000002)},
                             {"clInactiveCaption", static_cast<int32_t>(0xFF000003)},
                             {"clMenu", static_cast<int32_t>(0xFF000004)},
                             {"clWindow", static_cast<int32_t>(0xFF000005)},
                             {"clWindowFrame", static_cast<int32_t>(0xFF000006)},
                             {"clMenuText", static_cast<int32_t>(0xFF000007)},
                             {"clWindowText", static_cast<int32_t>(0xFF000008)},
                             {"clCaptionText", static_cast<int32_t>(0xFF000009)},
                             {"clActiveBorder", static_cast<int32_t>(0xFF00000A)},
                             {"clInactiveBorder", static_cast<int32_t>(0xFF00000B)},
                             {"clAppWorkSpace", static_cast<int32_t>(0xFF00000C)},
                             {"clHighlight", static_cast<int32_t>(0xFF00000D)},
                             {"clHighlightText", static_cast<int32_t>(0xFF00000E)},
                             {"clBtnFace", static_cast<int32_t>(0xFF00000F)},
                             {"clBtnShadow", static_cast<int32_t>(0xFF000010)},
                             {"clGrayText", static_cast<int32_t>(0xFF000011)},
                             {"clBtnText", static_cast<int32_t>(0xFF000012)},
                             {"clInactiveCaptionText", static_cast<int32_t>(0xFF000013)},
                             {"clBtnHighlight", static_cast<int32_t>(0xFF000014)},
                             {"cl3DDkShadow", static_cast<int32_t>(0xFF000015)},
                             {"cl3DLight", static_cast<int32_t>(0xFF000016)},
                             {"clInfoText", static_cast<int32_t>(0xFF000017)},
                             {"clInfoBk", static_cast<int32_t>(0xFF000018)},
                             {"clHotLight", static_cast<int32_t>(0xFF00001A)},
                             {"clGradientActiveCaption", static_cast<int32_t>(0xFF00001B)},
                             {"clGradientInactiveCaption", static_cast<int32_t>(0xFF00001C)},
                             {"clMenuHighlight", static_cast<int32_t>(0xFF00001D)},
                             {"clMenuBar", static_cast<int32_t>(0xFF00001E)}}};
    return m;
}

const IdentMap& cursorIdents() {
    static const IdentMap m{"TCursor",
                            {{"crDefault", 0},        {"crNone", -1},       {"crArrow", -2},       {"crCross", -3},
                             {"crIBeam", -4},         {"crSizeNESW", -6},   {"crSizeNS", -7},      {"crSizeNWSE", -8},
                             {"crSizeWE", -9},        {"crUpArrow", -10},   {"crHourGlass", -11},  {"crDrag", -12},
                             {"crNoDrop", -13},       {"crHSplit", -14},    {"crVSplit", -15},     {"crMultiDrag", -16},
                             {"crSQLWait", -17},      {"crNo", -18},        {"crAppStart", -19},   {"crHelp", -20},
                             {"crHandPoint", -21},    {"crSizeAll", -22},   {"crSize", -22}}};
    return m;
}

const IdentMap& charsetIdents() {
    static const IdentMap m{"TFontCharset",
                            {{"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},
                             {"MAC_CHARSET", 77},        {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},
                             {"JOHAB_CHARSET", 130},     {"GB2312_CHARSET", 134},    {"CHINESEBIG5_CHARSET", 136},
                             {"GREEK_CHARSET", 161},     {"TURKISH_CHARSET", 162},   {"VIETNAMESE_CHARSET", 163},
                             {"HEBREW_CHARSET", 177},    {"ARABIC_CHARSET", 178},    {"BALTIC_CHARSET", 186},
                             {"RUSSIAN_CHARSET", 204},   {"THAI_CHARSET", 222},      {"EASTEUROPE_CHARSET", 238},
                             {"OEM_CHARSET", 255}}};
    return m;
}

#define ORB_ENUM(fn, type, ...)                       \
    const EnumType& fn() {                            \
        static const EnumType t{type, {__VA_ARGS__}}; \
        return t;                                     \
    }

ORB_ENUM(fontStyleType, "TFontStyle", "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
ORB_ENUM(fontPitchType, "TFontPitch", "fpDefault", "fpVariable", "fpFixed")
ORB_ENUM(anchorKindType, "TAnchorKind", "akLeft", "akTop", "akRight", "akBottom")
ORB_ENUM(helpTypeType, "THelpType", "htKeyword", "htContext")
ORB_ENUM(borderIconType, "TBorderIcon", "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
ORB_ENUM(formBorderStyleType, "TFormBorderStyle", "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
         "bsSizeToolWin")
ORB_ENUM(positionType, "TPosition", "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
         "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter")
ORB_ENUM(formStyleType, "TFormStyle", "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
ORB_ENUM(windowStateType, "TWindowState", "wsNormal", "wsMinimized", "wsMaximized")
ORB_ENUM(biDiModeType, "TBiDiMode", "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
         "bdRightToLeftReadingOnly")
ORB_ENUM(alignType, "TAlign", "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
ORB_ENUM(defaultMonitorType, "TDefaultMonitor", "dmDesktop", "dmPrimary", "dmMainForm", "dmActiveForm")
ORB_ENUM(printScaleType, "TPrintScale", "poNone", "poProportional", "poPrintToFit")
ORB_ENUM(scrollBarStyleType, "TScrollBarStyle", "ssRegular", "ssFlat", "ssHotTrack")
ORB_ENUM(dragKindType, "TDragKind", "dkDrag", "dkDock")
ORB_ENUM(dragModeType, "TDragMode", "dmManual", "dmAutomatic")

#undef ORB_ENUM

}  // namespace orb
