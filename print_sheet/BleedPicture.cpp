#include "print_sheet/BleedPicture.h"

#include "raster/Bitmap32.h"

#include <algorithm>
#include <cstring>

void ExtendByEdgePixels(const TBitmap32& Inlay, int Columns, int Rows, TBitmap32& Extended) {
    const int Width = Inlay.Width(), Height = Inlay.Height();
    const int NewWidth = Width + 2 * Columns;
    Extended.SetDimensions(NewWidth, Height + 2 * Rows);
    for (int Y = 0; Y < Height; ++Y) {
        const TColor32* Source = Inlay.ScanLine(Y);
        TColor32* Target = Extended.ScanLine(Y + Rows);
        std::fill_n(Target, Columns, Source[0]);
        std::memcpy(Target + Columns, Source, sizeof(TColor32) * static_cast<std::size_t>(Width));
        std::fill_n(Target + Columns + Width, Columns, Source[Width - 1]);
    }
    const std::size_t RowBytes = sizeof(TColor32) * static_cast<std::size_t>(NewWidth);
    for (int Y = 0; Y < Rows; ++Y) {
        std::memcpy(Extended.ScanLine(Y), Extended.ScanLine(Rows), RowBytes);
        std::memcpy(Extended.ScanLine(Rows + Height + Y), Extended.ScanLine(Rows + Height - 1),
                    RowBytes);
    }
}
