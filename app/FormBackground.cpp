#include "app/FormBackground.h"

#include "graphics/GradFillWin.h"
#include "graphics/OrbGraphics.h"

namespace orb {

void paintFormBackground(HDC dc, const RECT& client, const TOrbForm& form) {
    bool shaped = form.windowStyle() == TOrbWindowStyle::awsShaped;
    if (!shaped && form.backGround == TOrbFillStyle::afsGradient)
        GradFill(dc, client, form.gradBeginColor, form.gradEndColor, form.gradStyle);
    if (!shaped && form.backGround == TOrbFillStyle::afsGlyph && !form.picture.empty())
        TileGraphic(dc, client, *form.picture.graphic());
    if (shaped && form.hasUsableShapePicture()) TileGraphic(dc, client, *form.picture.graphic());
}

}  // namespace orb
