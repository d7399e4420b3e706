#include "tests/support/PictureFixtures.h"

#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace {

void OnPngError(png_structp Png, png_const_charp Message) {
    std::fprintf(stderr, "fixture PNG error: %s\n", Message);
    png_longjmp(Png, 1);
}

void AppendData(png_structp Png, png_bytep Data, png_size_t Length) {
    auto* Out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(Png));
    Out->insert(Out->end(), Data, Data + Length);
}

void NoFlush(png_structp) {}

// Packs one row of samples as PNG stores them: big-endian 16-bit samples, sub-byte samples
// packed from the high bits.
std::vector<std::uint8_t> PackedRow(const TSampleImage& Image, int Y) {
    const int Count = Image.Width * Image.Channels;
    const std::uint16_t* Row = Image.Samples.data() + static_cast<std::size_t>(Y) * Count;
    std::vector<std::uint8_t> Out;
    if (Image.BitDepth == 16) {
        for (int I = 0; I < Count; ++I) {
            Out.push_back(static_cast<std::uint8_t>(Row[I] >> 8));
            Out.push_back(static_cast<std::uint8_t>(Row[I] & 0xFF));
        }
    } else if (Image.BitDepth == 8) {
        for (int I = 0; I < Count; ++I)
            Out.push_back(static_cast<std::uint8_t>(Row[I]));
    } else {
        const int PerByte = 8 / Image.BitDepth;
        Out.assign(static_cast<std::size_t>((Count + PerByte - 1) / PerByte), 0);
        for (int I = 0; I < Count; ++I)
            Out[I / PerByte] |=
                static_cast<std::uint8_t>(Row[I] << (8 - Image.BitDepth * (I % PerByte + 1)));
    }
    return Out;
}

int PngColourType(int Channels) {
    switch (Channels) {
    case 1:
        return PNG_COLOR_TYPE_GRAY;
    case 2:
        return PNG_COLOR_TYPE_GRAY_ALPHA;
    case 3:
        return PNG_COLOR_TYPE_RGB;
    default:
        return PNG_COLOR_TYPE_RGB_ALPHA;
    }
}

// Writes a PNG with libpng; Prepare sets the header and the palette. Rows: every row of Image
// and the end; otherwise FirstRows rows of zeros, flushed, and nothing after.
template <class TPrepare>
std::vector<std::uint8_t> WritePng(const TSampleImage& Image, TPrepare&& Prepare, bool Rows,
                                   bool Interlaced, std::size_t ZeroRowBytes = 0) {
    std::vector<std::uint8_t> Out;
    std::vector<std::vector<std::uint8_t>> Packed;
    if (Rows)
        for (int Y = 0; Y < Image.Height; ++Y)
            Packed.push_back(PackedRow(Image, Y));
    std::vector<std::uint8_t> Zeros(ZeroRowBytes);
    std::vector<png_bytep> Pointers;
    for (auto& Row : Packed)
        Pointers.push_back(Row.data());
    png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, nullptr);
    png_infop Info = png_create_info_struct(Png);
    if (setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        throw std::runtime_error("cannot write the PNG fixture");
    }
    png_set_write_fn(Png, &Out, AppendData, NoFlush);
    Prepare(Png, Info);
    if (Interlaced)
        png_set_interlace_handling(Png);
    png_write_info(Png, Info);
    if (Rows) {
        png_write_image(Png, Pointers.data());
        png_write_end(Png, nullptr);
    } else if (ZeroRowBytes > 0) {
        // Stored, not compressed: only full output buffers become chunks.
        png_set_compression_level(Png, 0);
        png_write_row(Png, Zeros.data());
        png_write_flush(Png);
    }
    png_destroy_write_struct(&Png, &Info);
    return Out;
}

std::vector<std::uint8_t> ReadBytes(const std::string& Path) {
    std::ifstream File(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

// A temporary file name, removed when the object goes.
class TTempName {
public:
    TTempName() {
        std::string Template =
            (std::filesystem::temp_directory_path() / "trayvane-fixture-XXXXXX").string();
        const int Handle = mkstemp(Template.data());
        if (Handle < 0)
            throw std::runtime_error("cannot create a temporary file");
        close(Handle);
        FPath = Template;
    }
    ~TTempName() { std::remove(FPath.c_str()); }
    TTempName(const TTempName&) = delete;
    TTempName& operator=(const TTempName&) = delete;
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// Writes a TIFF with libtiff through a temporary file; Tags sets what differs between kinds.
template <class TTags>
std::vector<std::uint8_t> WriteTiff(const TSampleImage& Image, TTags&& Tags, int RowsPerStrip) {
    const TTempName File;
    TIFF* Tiff = TIFFOpen(File.Path().c_str(), "w");
    if (!Tiff)
        throw std::runtime_error("cannot write the TIFF fixture");
    TIFFSetField(Tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(Image.Width));
    TIFFSetField(Tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(Image.Height));
    TIFFSetField(Tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(Image.Channels));
    TIFFSetField(Tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(Image.BitDepth));
    TIFFSetField(Tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(Tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    Tags(Tiff);
    TIFFSetField(Tiff, TIFFTAG_ROWSPERSTRIP,
                 RowsPerStrip > 0 ? static_cast<std::uint32_t>(RowsPerStrip)
                                  : TIFFDefaultStripSize(Tiff, 0));
    for (int Y = 0; Y < Image.Height; ++Y) {
        std::vector<std::uint8_t> Row;
        const int Count = Image.Width * Image.Channels;
        const std::uint16_t* Samples = Image.Samples.data() + static_cast<std::size_t>(Y) * Count;
        if (Image.BitDepth == 16) {
            for (int I = 0; I < Count; ++I) { // native byte order
                Row.push_back(static_cast<std::uint8_t>(Samples[I] & 0xFF));
                Row.push_back(static_cast<std::uint8_t>(Samples[I] >> 8));
            }
        } else {
            Row = PackedRow(Image, Y);
        }
        if (TIFFWriteScanline(Tiff, Row.data(), static_cast<std::uint32_t>(Y), 0) < 0) {
            TIFFClose(Tiff);
            throw std::runtime_error("cannot write the TIFF fixture's rows");
        }
    }
    TIFFClose(Tiff);
    return ReadBytes(File.Path());
}

} // namespace

std::vector<std::uint8_t> EncodePng(const TSampleImage& Image, bool Interlaced) {
    return WritePng(
        Image,
        [&](png_structp Png, png_infop Info) {
            png_set_IHDR(Png, Info, static_cast<png_uint_32>(Image.Width),
                         static_cast<png_uint_32>(Image.Height), Image.BitDepth,
                         PngColourType(Image.Channels),
                         Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                         PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        },
        true, Interlaced);
}

std::vector<std::uint8_t> EncodePalettePng(const TPaletteImage& Image) {
    return WritePng(
        Image.Indices,
        [&](png_structp Png, png_infop Info) {
            png_set_IHDR(Png, Info, static_cast<png_uint_32>(Image.Indices.Width),
                         static_cast<png_uint_32>(Image.Indices.Height), Image.Indices.BitDepth,
                         PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                         PNG_FILTER_TYPE_DEFAULT);
            std::vector<png_color> Colours;
            std::vector<png_byte> Alphas;
            for (const TPaletteEntry& E : Image.Palette) {
                Colours.push_back({E.Red, E.Green, E.Blue});
                Alphas.push_back(E.Alpha);
            }
            png_set_PLTE(Png, Info, Colours.data(), static_cast<int>(Colours.size()));
            bool Transparent = false;
            for (const png_byte A : Alphas)
                Transparent = Transparent || A != 255;
            if (Transparent)
                png_set_tRNS(Png, Info, Alphas.data(), static_cast<int>(Alphas.size()), nullptr);
        },
        true, false);
}

std::vector<std::uint8_t> PngStart(std::uint32_t Width, std::uint32_t Height, bool FirstRow) {
    TSampleImage Image;
    Image.Channels = 3;
    return WritePng(
        Image,
        [&](png_structp Png, png_infop Info) {
            png_set_IHDR(Png, Info, Width, Height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                         PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        },
        false, false, FirstRow ? std::size_t{Width} * 3 : 0);
}

std::vector<std::uint8_t> EncodeTiff(const TSampleImage& Image, TTiffCompression Compression,
                                     int RowsPerStrip) {
    return WriteTiff(
        Image,
        [&](TIFF* Tiff) {
            const bool Grey = Image.Channels <= 2;
            TIFFSetField(Tiff, TIFFTAG_PHOTOMETRIC,
                         Grey ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
            if (Image.Channels == 2 || Image.Channels == 4) {
                const std::uint16_t Extra[] = {EXTRASAMPLE_UNASSALPHA};
                TIFFSetField(Tiff, TIFFTAG_EXTRASAMPLES, 1, Extra);
            }
            TIFFSetField(Tiff, TIFFTAG_COMPRESSION,
                         Compression == TTiffCompression::Lzw       ? COMPRESSION_LZW
                         : Compression == TTiffCompression::Deflate ? COMPRESSION_ADOBE_DEFLATE
                                                                    : COMPRESSION_NONE);
        },
        RowsPerStrip);
}

std::vector<std::uint8_t> EncodePaletteTiff(const TPaletteImage& Image) {
    return WriteTiff(
        Image.Indices,
        [&](TIFF* Tiff) {
            TIFFSetField(Tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            TIFFSetField(Tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
            const std::size_t Size = std::size_t{1} << Image.Indices.BitDepth;
            std::vector<std::uint16_t> Red(Size), Green(Size), Blue(Size);
            for (std::size_t I = 0; I < Image.Palette.size() && I < Size; ++I) {
                Red[I] = static_cast<std::uint16_t>(Image.Palette[I].Red * 257);
                Green[I] = static_cast<std::uint16_t>(Image.Palette[I].Green * 257);
                Blue[I] = static_cast<std::uint16_t>(Image.Palette[I].Blue * 257);
            }
            TIFFSetField(Tiff, TIFFTAG_COLORMAP, Red.data(), Green.data(), Blue.data());
        },
        0);
}

std::vector<std::uint8_t> EncodeWebP(const TSampleImage& Image, bool Lossless, int Quality) {
    std::vector<std::uint8_t> Rgba(Image.Samples.begin(), Image.Samples.end());
    std::uint8_t* Output = nullptr;
    const int Stride = Image.Width * 4;
    const std::size_t Size =
        Lossless ? WebPEncodeLosslessRGBA(Rgba.data(), Image.Width, Image.Height, Stride, &Output)
                 : WebPEncodeRGBA(Rgba.data(), Image.Width, Image.Height, Stride,
                                  static_cast<float>(Quality), &Output);
    if (Size == 0)
        throw std::runtime_error("cannot write the WebP fixture");
    std::vector<std::uint8_t> Out(Output, Output + Size);
    WebPFree(Output);
    return Out;
}

std::vector<std::uint8_t> EncodeLabTiff(const TSampleImage& Image, float WhiteX, float WhiteY) {
    return WriteTiff(
        Image,
        [&](TIFF* Tiff) {
            TIFFSetField(Tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_CIELAB);
            if (WhiteX > 0) {
                float White[] = {WhiteX, WhiteY};
                TIFFSetField(Tiff, TIFFTAG_WHITEPOINT, White);
            }
        },
        0);
}

std::vector<std::uint8_t> EncodeOrientedTiff(const TSampleImage& Image, int Orientation) {
    return WriteTiff(
        Image,
        [&](TIFF* Tiff) {
            TIFFSetField(Tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
            TIFFSetField(Tiff, TIFFTAG_ORIENTATION, static_cast<std::uint16_t>(Orientation));
        },
        0);
}

std::vector<std::uint8_t> TiffClaim(std::uint32_t Width, std::uint32_t Height, int Channels,
                                    int BitDepth, TTiffCompression Compression,
                                    std::size_t DataBytes) {
    const TTempName File;
    TIFF* Tiff = TIFFOpen(File.Path().c_str(), "w");
    if (!Tiff)
        throw std::runtime_error("cannot write the TIFF fixture");
    TIFFSetField(Tiff, TIFFTAG_IMAGEWIDTH, Width);
    TIFFSetField(Tiff, TIFFTAG_IMAGELENGTH, Height);
    TIFFSetField(Tiff, TIFFTAG_SAMPLESPERPIXEL, static_cast<std::uint16_t>(Channels));
    TIFFSetField(Tiff, TIFFTAG_BITSPERSAMPLE, static_cast<std::uint16_t>(BitDepth));
    TIFFSetField(Tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(Tiff, TIFFTAG_PHOTOMETRIC,
                 Channels >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    if (Channels == 4) {
        const std::uint16_t Extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(Tiff, TIFFTAG_EXTRASAMPLES, 1, Extra);
    }
    TIFFSetField(Tiff, TIFFTAG_COMPRESSION,
                 Compression == TTiffCompression::Lzw       ? COMPRESSION_LZW
                 : Compression == TTiffCompression::Deflate ? COMPRESSION_ADOBE_DEFLATE
                                                            : COMPRESSION_NONE);
    TIFFSetField(Tiff, TIFFTAG_ROWSPERSTRIP, Height);
    std::vector<std::uint8_t> Data(DataBytes, 0);
    if (TIFFWriteRawStrip(Tiff, 0, Data.data(), static_cast<tmsize_t>(Data.size())) < 0) {
        TIFFClose(Tiff);
        throw std::runtime_error("cannot write the TIFF fixture's strip");
    }
    TIFFClose(Tiff);
    return ReadBytes(File.Path());
}

std::vector<std::uint8_t> EncodePngWithExif(const TSampleImage& Image,
                                            const std::vector<std::uint8_t>& Exif, bool AfterData) {
    std::vector<std::uint8_t> Png = EncodePng(Image);
    // An eXIf chunk: length, name, data, CRC over name and data.
    std::vector<std::uint8_t> Chunk;
    const auto U32 = [&](std::uint32_t V) {
        for (const int Shift : {24, 16, 8, 0})
            Chunk.push_back(static_cast<std::uint8_t>(V >> Shift));
    };
    U32(static_cast<std::uint32_t>(Exif.size()));
    for (const char C : {'e', 'X', 'I', 'f'})
        Chunk.push_back(static_cast<std::uint8_t>(C));
    Chunk.insert(Chunk.end(), Exif.begin(), Exif.end());
    U32(static_cast<std::uint32_t>(
        crc32(0, Chunk.data() + 4, static_cast<uInt>(Chunk.size() - 4))));
    // Before the first IDAT chunk, or before IEND (the last 12 bytes).
    std::size_t At = Png.size() - 12;
    if (!AfterData) {
        const char Idat[] = {'I', 'D', 'A', 'T'};
        At = static_cast<std::size_t>(std::search(Png.begin(), Png.end(), Idat, Idat + 4) -
                                      Png.begin()) -
             4;
    }
    Png.insert(Png.begin() + static_cast<std::ptrdiff_t>(At), Chunk.begin(), Chunk.end());
    return Png;
}

namespace {

void PutLittleEndian(std::vector<std::uint8_t>& Data, std::uint32_t Value, int Bytes) {
    for (int I = 0; I < Bytes; ++I)
        Data.push_back(static_cast<std::uint8_t>(Value >> (8 * I)));
}

void PutChunk(std::vector<std::uint8_t>& Data, const char* Name,
              const std::vector<std::uint8_t>& Content) {
    Data.insert(Data.end(), Name, Name + 4);
    PutLittleEndian(Data, static_cast<std::uint32_t>(Content.size()), 4);
    Data.insert(Data.end(), Content.begin(), Content.end());
    if (Content.size() % 2 != 0)
        Data.push_back(0);
}

std::vector<std::uint8_t> RiffWebP(const std::vector<std::uint8_t>& Chunks) {
    std::vector<std::uint8_t> Data{'R', 'I', 'F', 'F'};
    PutLittleEndian(Data, static_cast<std::uint32_t>(Chunks.size() + 4), 4);
    for (const char C : {'W', 'E', 'B', 'P'})
        Data.push_back(static_cast<std::uint8_t>(C));
    Data.insert(Data.end(), Chunks.begin(), Chunks.end());
    return Data;
}

} // namespace

std::vector<std::uint8_t> WebPWithExif(const std::vector<std::uint8_t>& WebP,
                                       const std::vector<std::uint8_t>& Exif, int Width,
                                       int Height) {
    std::vector<std::uint8_t> Header{0x08, 0, 0, 0}; // the EXIF flag
    PutLittleEndian(Header, static_cast<std::uint32_t>(Width - 1), 3);
    PutLittleEndian(Header, static_cast<std::uint32_t>(Height - 1), 3);
    std::vector<std::uint8_t> Chunks;
    PutChunk(Chunks, "VP8X", Header);
    // The simple file's own chunks follow its 12-byte RIFF header.
    Chunks.insert(Chunks.end(), WebP.begin() + 12, WebP.end());
    PutChunk(Chunks, "EXIF", Exif);
    return RiffWebP(Chunks);
}

std::vector<std::uint8_t> WebPClaim(int Width, int Height, bool Lossless, std::size_t Size) {
    std::vector<std::uint8_t> Frame;
    if (Lossless) {
        Frame.push_back(0x2F);
        const std::uint32_t Bits =
            static_cast<std::uint32_t>(Width - 1) | static_cast<std::uint32_t>(Height - 1) << 14;
        PutLittleEndian(Frame, Bits, 4);
        Frame.push_back(0);
    } else {
        // A key frame tag (show, version 0, a first partition of 1 byte), the start code, the
        // sides.
        PutLittleEndian(Frame, 0x10 | 1u << 5, 3);
        for (const std::uint8_t B : {0x9D, 0x01, 0x2A})
            Frame.push_back(B);
        PutLittleEndian(Frame, static_cast<std::uint32_t>(Width), 2);
        PutLittleEndian(Frame, static_cast<std::uint32_t>(Height), 2);
    }
    if (Size > 20 + Frame.size())
        Frame.resize(Size - 20, 0);
    std::vector<std::uint8_t> Chunks;
    PutChunk(Chunks, Lossless ? "VP8L" : "VP8 ", Frame);
    return RiffWebP(Chunks);
}
