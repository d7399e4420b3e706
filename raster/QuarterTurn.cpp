#include "raster/QuarterTurn.h"

#include "raster/Orientation.h"

#include <string>

bool IsQuarterTurn(int Degrees) noexcept {
    return Degrees == 0 || Degrees == 90 || Degrees == 180 || Degrees == 270;
}

void TurnClockwise(TBitmap32& Bitmap, int Degrees) {
    // The orientation tags that ask for these turns: 6 a quarter clockwise, 3 a half, 8 a
    // quarter counter-clockwise (three quarters clockwise).
    switch (Degrees) {
    case 0:
        return;
    case 90:
        OrientUpright(Bitmap, 6);
        return;
    case 180:
        OrientUpright(Bitmap, 3);
        return;
    case 270:
        OrientUpright(Bitmap, 8);
        return;
    default:
        throw EQuarterTurn("A picture is turned by 0, 90, 180 or 270 degrees, not " +
                           std::to_string(Degrees));
    }
}
