#include "jpeg_bridge/JpegEncoding.h"

#include "jpeg_bridge/ExifFields.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint16_t UnitInch = 2;

// Writes little-endian numbers one after another into a block of fixed size.
class TBlockWriter {
public:
    explicit TBlockWriter(std::array<std::uint8_t, ExifResolutionBlockSize>& Block) noexcept
        : FBlock(Block) {}

    void Bytes(std::initializer_list<std::uint8_t> Values) noexcept {
        for (const std::uint8_t Value : Values)
            FBlock[FAt++] = Value;
    }
    void Put16(std::uint32_t Value) noexcept {
        Bytes({static_cast<std::uint8_t>(Value), static_cast<std::uint8_t>(Value >> 8)});
    }
    void Put32(std::uint32_t Value) noexcept {
        Put16(Value & 0xFFFF);
        Put16(Value >> 16);
    }
    // One directory entry: tag, type, count 1, and the value or the offset of the value.
    void Entry(std::uint16_t Tag, std::uint16_t Type, std::uint32_t ValueOrOffset) noexcept {
        Put16(Tag);
        Put16(Type);
        Put32(1);
        Put32(ValueOrOffset);
    }

private:
    std::array<std::uint8_t, ExifResolutionBlockSize>& FBlock;
    std::size_t FAt = 0;
};

} // namespace

std::array<std::uint8_t, ExifResolutionBlockSize>
ExifResolutionBlock(const TPrintDensity& Density) noexcept {
    auto Numerator = static_cast<std::uint64_t>(Density.Numerator);
    auto Denominator = static_cast<std::uint64_t>(Density.Denominator);
    constexpr std::uint64_t Most = std::numeric_limits<std::uint32_t>::max();
    while (Numerator > Most || Denominator > Most) {
        Numerator = (Numerator + 1) / 2;
        Denominator = (Denominator + 1) / 2;
    }

    // Offsets count from the TIFF header: header 8, entry count 2, three entries of 12, next
    // directory 4, then the two rationals.
    constexpr std::uint32_t DirectoryOffset = 8;
    constexpr std::uint32_t EntryCount = 3;
    constexpr std::uint32_t ValuesOffset = DirectoryOffset + 2 + EntryCount * 12 + 4;
    std::array<std::uint8_t, ExifResolutionBlockSize> Block{};
    TBlockWriter Out(Block);
    Out.Bytes({'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0});
    Out.Put32(DirectoryOffset);
    Out.Put16(EntryCount);
    Out.Entry(ExifTagXResolution, ExifTypeRational, ValuesOffset);
    Out.Entry(ExifTagYResolution, ExifTypeRational, ValuesOffset + 8);
    // A short sits in the first two bytes of the value field.
    Out.Entry(ExifTagResolutionUnit, ExifTypeShort, UnitInch);
    Out.Put32(0); // no further directory
    for (int Axis = 0; Axis < 2; ++Axis) {
        Out.Put32(static_cast<std::uint32_t>(Numerator));
        Out.Put32(static_cast<std::uint32_t>(Denominator));
    }
    return Block;
}

TJpegEncoding SaveEncoding(std::uint8_t Quality, const TPrintDensity& Density) noexcept {
    const int Dpi = Density.IsSet() ? std::clamp(Density.RoundedDotsPerInch(), 1, 65535) : 1;
    return TJpegEncoding{std::clamp<int>(Quality, 1, 100), Density.IsSet() ? 1 : 0, Dpi, Dpi,
                         Density.IsSet() ? Density : TPrintDensity{}};
}

void StartBgrCompress(jpeg_compress_struct& Info, int Width, int Height, int PixelBytes,
                      const TJpegEncoding& Encoding) {
    Info.image_width = static_cast<JDIMENSION>(Width);
    Info.image_height = static_cast<JDIMENSION>(Height);
    Info.input_components = PixelBytes;
    Info.in_color_space = PixelBytes == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, Encoding.Quality, TRUE);
    Info.write_JFIF_header = TRUE;
    Info.density_unit = static_cast<UINT8>(Encoding.DensityUnit);
    Info.X_density = static_cast<UINT16>(Encoding.XDensity);
    Info.Y_density = static_cast<UINT16>(Encoding.YDensity);
    jpeg_start_compress(&Info, TRUE);
    // After the JFIF block, which must come first, and before the first scan line.
    if (Encoding.ExactDensity.IsSet()) {
        const auto Exif = ExifResolutionBlock(Encoding.ExactDensity);
        jpeg_write_marker(&Info, JPEG_APP0 + 1, Exif.data(), static_cast<unsigned>(Exif.size()));
    }
}
