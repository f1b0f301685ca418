#pragma once
// Pictures loaded from files and looked at: kind by extension, transparency,
// the 32-bit image a picture becomes, and the opaque part of it.
#include <filesystem>
#include <vector>

#include "core/Picture.h"
#include "graphics/Bitmap32.h"
#include "graphics/PixelRoutines.h"

namespace orb {

// Replaces the picture's graphic by the file's, of the kind its extension names.
// Throws OrbError "Unknown picture file extension (.ext)" or the load's error;
// the picture then keeps what it had.
void LoadPictureFromFile(Picture& picture, const std::filesystem::path& fileName);

bool IsTransparentGif(const Picture& picture);
bool IsTransparentPng(const Picture& picture);  // a transparent colour or an alpha channel
bool IsAlphaPng(const Picture& picture);        // partial transparency only

// The graphic as straight-alpha ARGB: PNG and GIF with their transparency,
// every other kind opaque. Empty when the graphic is empty or not decodable here.
Bitmap32 PictureToRGBA(const Graphic& graphic);

// The opaque runs of a picture for a window region: transparent pixels of a GIF
// or PNG, or else every pixel of the top-left pixel's colour, are left out.
std::vector<IntRect> pictureRegionRuns(const Graphic& graphic);

}  // namespace orb
