#pragma once

// EXIF blocks for JPEG fixtures: an APP1 segment with a TIFF structure whose first directory holds
// an orientation tag, put into JPEG data made elsewhere. Header-only.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The TIFF structure of an EXIF block: a first directory with a made-up tag (0x010F, the make)
// and the orientation tag of the given value, in either byte order.
inline std::vector<std::uint8_t> ExifTiff(int Orientation, bool BigEndian = false) {
    std::vector<std::uint8_t> T;
    const auto U16 = [&](unsigned V) {
        if (BigEndian) {
            T.push_back(static_cast<std::uint8_t>(V >> 8));
            T.push_back(static_cast<std::uint8_t>(V));
        } else {
            T.push_back(static_cast<std::uint8_t>(V));
            T.push_back(static_cast<std::uint8_t>(V >> 8));
        }
    };
    const auto U32 = [&](std::uint32_t V) {
        if (BigEndian) {
            U16(V >> 16);
            U16(V & 0xFFFF);
        } else {
            U16(V & 0xFFFF);
            U16(V >> 16);
        }
    };
    T.push_back(BigEndian ? 'M' : 'I');
    T.push_back(BigEndian ? 'M' : 'I');
    U16(42);
    U32(8); // the first directory right after the header
    U16(2);
    U16(0x010F); // make: ASCII, 4 bytes in place
    U16(2);
    U32(4);
    for (const char C : {'F', 'o', 'o', '\0'})
        T.push_back(static_cast<std::uint8_t>(C));
    U16(0x0112); // orientation: one SHORT, in the first two bytes of the value field
    U16(3);
    U32(1);
    U16(static_cast<unsigned>(Orientation));
    U16(0);
    U32(0); // no next directory
    return T;
}

// An APP1 segment: marker, length, "Exif\0\0" (or another name) and the payload.
inline std::vector<std::uint8_t> App1Segment(const std::vector<std::uint8_t>& Payload,
                                             const std::string& Name = std::string("Exif\0\0", 6)) {
    const std::size_t Length = 2 + Name.size() + Payload.size();
    std::vector<std::uint8_t> S(2 + Length);
    S[0] = 0xFF;
    S[1] = 0xE1;
    S[2] = static_cast<std::uint8_t>(Length >> 8);
    S[3] = static_cast<std::uint8_t>(Length & 0xFF);
    std::copy(Name.begin(), Name.end(), S.begin() + 4);
    std::copy(Payload.begin(), Payload.end(),
              S.begin() + 4 + static_cast<std::ptrdiff_t>(Name.size()));
    return S;
}

// Jpeg with Segment put right after its start-of-image marker.
inline std::vector<std::uint8_t> WithSegment(std::vector<std::uint8_t> Jpeg,
                                             const std::vector<std::uint8_t>& Segment) {
    Jpeg.insert(Jpeg.begin() + 2, Segment.begin(), Segment.end());
    return Jpeg;
}

inline std::vector<std::uint8_t> WithExifOrientation(std::vector<std::uint8_t> Jpeg,
                                                     int Orientation, bool BigEndian = false) {
    return WithSegment(std::move(Jpeg), App1Segment(ExifTiff(Orientation, BigEndian)));
}
