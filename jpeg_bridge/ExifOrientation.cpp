#include "jpeg_bridge/ExifOrientation.h"

#include "jpeg_bridge/ExifFields.h"

#include <cstring>

namespace {

constexpr int AsStored = 1;
constexpr std::uint8_t MarkerStartOfImage = 0xD8;
constexpr std::uint8_t MarkerEndOfImage = 0xD9;
constexpr std::uint8_t MarkerStartOfScan = 0xDA;
constexpr std::uint8_t MarkerApp1 = 0xE1;

// A TIFF structure's bytes in their byte order; every read is checked against its size.
class TTiffBytes {
public:
    TTiffBytes(const std::uint8_t* Data, std::size_t Size, bool BigEndian) noexcept
        : FData(Data), FSize(Size), FBigEndian(BigEndian) {}

    bool Has(std::size_t Offset, std::size_t Count) const noexcept {
        return Offset <= FSize && Count <= FSize - Offset;
    }
    // Not validated: Has(Offset, 2) and Has(Offset, 4).
    std::uint16_t U16(std::size_t Offset) const noexcept {
        const std::uint8_t* P = FData + Offset;
        return FBigEndian ? static_cast<std::uint16_t>(P[0] << 8 | P[1])
                          : static_cast<std::uint16_t>(P[1] << 8 | P[0]);
    }
    std::uint32_t U32(std::size_t Offset) const noexcept {
        const std::uint8_t* P = FData + Offset;
        return FBigEndian ? std::uint32_t{P[0]} << 24 | std::uint32_t{P[1]} << 16 |
                                std::uint32_t{P[2]} << 8 | P[3]
                          : std::uint32_t{P[3]} << 24 | std::uint32_t{P[2]} << 16 |
                                std::uint32_t{P[1]} << 8 | P[0];
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    bool FBigEndian;
};

} // namespace

int OrientationInTiff(const std::uint8_t* Data, std::size_t Size) noexcept {
    if (Size < 8)
        return 0;
    bool BigEndian;
    if (Data[0] == 'I' && Data[1] == 'I')
        BigEndian = false;
    else if (Data[0] == 'M' && Data[1] == 'M')
        BigEndian = true;
    else
        return 0;
    const TTiffBytes Tiff(Data, Size, BigEndian);
    if (Tiff.U16(2) != 42)
        return 0;
    const std::size_t Directory = Tiff.U32(4);
    if (!Tiff.Has(Directory, 2))
        return 0;
    const std::size_t Entries = Tiff.U16(Directory);
    for (std::size_t I = 0; I < Entries; ++I) {
        const std::size_t Entry = Directory + 2 + 12 * I;
        if (!Tiff.Has(Entry, 12))
            return 0;
        if (Tiff.U16(Entry) != ExifTagOrientation)
            continue;
        if (Tiff.U16(Entry + 2) != ExifTypeShort || Tiff.U32(Entry + 4) != 1)
            return 0;
        // A single SHORT stands in the first two bytes of the value field.
        const int Value = Tiff.U16(Entry + 8);
        return Value >= 1 && Value <= 8 ? Value : 0;
    }
    return 0;
}

int ExifOrientationOf(const std::uint8_t* Data, std::size_t Size) noexcept {
    if (!Data || Size < 4 || Data[0] != 0xFF || Data[1] != MarkerStartOfImage)
        return AsStored;
    std::size_t At = 2;
    while (At + 4 <= Size) {
        if (Data[At] != 0xFF)
            return AsStored; // no marker where one must be: damaged
        const std::uint8_t Marker = Data[At + 1];
        if (Marker == 0xFF) { // fill byte before a marker
            ++At;
            continue;
        }
        if (Marker == MarkerStartOfScan || Marker == MarkerEndOfImage)
            return AsStored;
        // Markers without a segment: TEM and the restart markers.
        if (Marker == 0x01 || (Marker >= 0xD0 && Marker <= 0xD7)) {
            At += 2;
            continue;
        }
        const std::size_t Length = std::size_t{Data[At + 2]} << 8 | Data[At + 3];
        if (Length < 2 || Length > Size - At - 2)
            return AsStored;
        const std::uint8_t* Payload = Data + At + 4;
        const std::size_t PayloadSize = Length - 2;
        if (Marker == MarkerApp1 && PayloadSize >= 6 && std::memcmp(Payload, "Exif\0\0", 6) == 0)
            // The first EXIF block counts; others (XMP has its own APP1) are passed by.
            if (const int Orientation = OrientationInTiff(Payload + 6, PayloadSize - 6))
                return Orientation;
        At += 2 + Length;
    }
    return AsStored;
}
