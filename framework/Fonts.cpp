#include "framework/Fonts.h"

#include <cwchar>

#include "core/Text.h"

namespace orb {

GdiObject createFont(const Font& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.height;
    lf.lfWeight = (font.style & 1u) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.style & 2u) ? TRUE : FALSE;
    lf.lfUnderline = (font.style & 4u) ? TRUE : FALSE;
    lf.lfStrikeOut = (font.style & 8u) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(font.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    // fpDefault, fpVariable, fpFixed
    lf.lfPitchAndFamily = static_cast<BYTE>(font.pitch == 1 ? VARIABLE_PITCH : font.pitch == 2 ? FIXED_PITCH
                                                                                           : DEFAULT_PITCH);
    std::wstring face = ansiCodePage().toWide(font.name);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return GdiObject(CreateFontIndirectW(&lf));
}

namespace {
int CALLBACK foundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}
}  // namespace

bool screenFontInstalled(const wchar_t* faceName) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &lf, &foundFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace orb
