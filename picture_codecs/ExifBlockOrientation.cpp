#include "picture_codecs/ExifBlockOrientation.h"

#include <cstring>

namespace {

constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t ShortType = 3;

class TTiffBytes {
public:
    TTiffBytes(const std::uint8_t* Data, std::size_t Size, bool BigEndian) noexcept
        : FData(Data), FSize(Size), FBigEndian(BigEndian) {}

    // The 16- or 32-bit number at At, or false when it does not lie inside the block.
    bool Read16(std::size_t At, std::uint32_t& Value) const noexcept { return Read(At, 2, Value); }
    bool Read32(std::size_t At, std::uint32_t& Value) const noexcept { return Read(At, 4, Value); }

private:
    bool Read(std::size_t At, std::size_t Bytes, std::uint32_t& Value) const noexcept {
        if (At > FSize || FSize - At < Bytes)
            return false;
        Value = 0;
        for (std::size_t I = 0; I < Bytes; ++I) {
            const std::size_t Byte = FBigEndian ? I : Bytes - 1 - I;
            Value = Value << 8 | FData[At + Byte];
        }
        return true;
    }

    const std::uint8_t* FData;
    std::size_t FSize;
    bool FBigEndian;
};

} // namespace

int ExifBlockOrientation(const std::uint8_t* Data, std::size_t Size) noexcept {
    if (Size >= 6 && std::memcmp(Data, "Exif\0\0", 6) == 0) {
        Data += 6;
        Size -= 6;
    }
    if (Size < 8 || Data[0] != Data[1] || (Data[0] != 'I' && Data[0] != 'M'))
        return 1;
    const TTiffBytes Tiff(Data, Size, Data[0] == 'M');
    std::uint32_t Magic = 0;
    std::uint32_t Directory = 0;
    std::uint32_t Entries = 0;
    if (!Tiff.Read16(2, Magic) || Magic != 42 || !Tiff.Read32(4, Directory) ||
        !Tiff.Read16(Directory, Entries))
        return 1;
    for (std::uint32_t I = 0; I < Entries; ++I) {
        const std::size_t Entry = std::size_t{Directory} + 2 + std::size_t{I} * 12;
        std::uint32_t Tag = 0;
        std::uint32_t Type = 0;
        std::uint32_t Count = 0;
        std::uint32_t Value = 0;
        if (!Tiff.Read16(Entry, Tag) || !Tiff.Read16(Entry + 2, Type) ||
            !Tiff.Read32(Entry + 4, Count) || !Tiff.Read16(Entry + 8, Value))
            return 1;
        if (Tag != OrientationTag)
            continue;
        return Type == ShortType && Count == 1 && Value >= 1 && Value <= 8 ? static_cast<int>(Value)
                                                                           : 1;
    }
    return 1;
}
