// Fuzzes the batch command's row-by-row reading (TJpegRowReader, cropped rows of the one JPEG
// decoder) with arbitrary file content, against LoadJpegFile (whole rows of the same decoder):
// whatever the rows reader decodes, on one thread or two, LoadJpegFile must load too, with the same
// pixels in the columns asked for. (Where the rows reader fails, the command reads the file the
// full way; so a failure alone is never wrong.)

#include "jpeg_bridge/JpegFile.h"
#include "jpeg_bridge/JpegRowReader.h"

#include "tests/fuzz/FuzzInput.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Path = WriteFuzzInput("rows.jpg", Data, Size);
    for (const bool TwoThreads : {false, true}) {
        std::vector<std::uint8_t> Rows;
        int Columns = 0, Pixels = 0, Height = 0;
        try {
            const TJpegRowReader Reader(Path);
            if (!Reader.CanDecode())
                return 0;
            Columns = Reader.Width() / 2 + 1;
            Pixels = Reader.RowPixels(Columns);
            Height = Reader.Height();
            Rows.resize(std::size_t(Pixels) * 3 * std::size_t(Height));
            Reader.Decode(
                Columns, [&](int Y) { return Rows.data() + std::size_t(Y) * Pixels * 3; },
                TwoThreads);
        } catch (const Exception&) {
            continue;
        }
        TBitmap32 Loaded;
        try {
            LoadJpegFile(&Loaded, Path);
        } catch (const Exception&) {
            __builtin_trap(); // the rows were read where the full way fails
        }
        for (int Y = 0; Y < Height; ++Y)
            for (int X = 0; X < Columns; ++X) {
                const std::uint8_t* P = Rows.data() + (std::size_t(Y) * Pixels + X) * 3;
                const TColor32 Got = P[0] | (TColor32(P[1]) << 8) | (TColor32(P[2]) << 16);
                if (Got != (Loaded.Pixel(X, Y) & 0xFFFFFFu))
                    __builtin_trap(); // other pixels than the full way's
            }
    }
    return 0;
}
