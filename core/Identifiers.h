#pragma once
// Identifier vocabularies shared by many classes: colour, cursor and
// character-set names, and the framework's enumerations.
#include <cstdint>

#include "core/ClassInfo.h"

namespace orb {

using Color = int32_t;  // 0x00BBGGRR, or 0xFF0000nn for system colour nn
inline constexpr Color kClNone = 0x1FFFFFFF;
inline constexpr Color kClDefault = 0x20000000;
inline constexpr Color kClBtnFace = static_cast<Color>(0xFF00000F);
inline constexpr Color kClWindow = static_cast<Color>(0xFF000005);
inline constexpr Color kClWindowText = static_cast<Color>(0xFF000008);
inline constexpr Color kClBlack = 0;
inline constexpr Color kClWhite = 0xFFFFFF;

inline constexpr int32_t kCrDefault = 0;
inline constexpr int32_t kCrIBeam = -4;

const IdentMap& colorIdents();
const IdentMap& cursorIdents();
const IdentMap& charsetIdents();

const EnumType& fontStyleType();      // fsBold, fsItalic, fsUnderline, fsStrikeOut
const EnumType& fontPitchType();
const EnumType& anchorKindType();     // akLeft, akTop, akRight, akBottom
const EnumType& helpTypeType();
const EnumType& borderIconType();     // biSystemMenu, biMinimize, biMaximize, biHelp
const EnumType& formBorderStyleType();
const EnumType& positionType();       // poDesigned ...
const EnumType& formStyleType();
const EnumType& windowStateType();
const EnumType& biDiModeType();
const EnumType& alignType();
const EnumType& defaultMonitorType();
const EnumType& printScaleType();
const EnumType& scrollBarStyleType();
const EnumType& dragKindType();
const EnumType& dragModeType();

inline constexpr uint32_t setBit(int ordinal) { return 1u << ordinal; }

}  // namespace orb
