#pragma once

// TPicture: holds at most one picture (a TGraphic) and loads it from a file, choosing the kind
// of picture by the file's extension through the picture registry.
//
// The registry is a list of (extension, kind) entries, extensions lower case without the dot.
// A lookup lower-cases the file's extension and takes the most recently added equal entry. The
// program's registry starts with the platform's kinds, oldest first: "bmp" TBitmap, "ico" TIcon,
// "emf" and "wmf" TMetafile, "" (no extension) TOleGraphic; their files are not read (they answer
// with EInvalidGraphic). The kinds that are read register themselves when the program starts
// (the JPEG bridge adds "jpg" and "jpeg" TJPEGImage: RegisterJpegPictures).

#include "raster/Graphic.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

struct TPictureFileFormat {
    std::string Extension; // lower case, without the dot
    std::string KindName;  // the class name of the kind, "TJPEGImage"
    TGraphicFactory Create;
};

class TPictureRegistry {
public:
    void Register(std::string Extension, std::string KindName, TGraphicFactory Create);
    // Registers TKind under Extension, unless that exact entry is already there.
    template <class TKind>
    void RegisterKind(const std::string& Extension, const std::string& KindName) {
        if (!Contains(Extension, KindName))
            Register(Extension, KindName, [] { return std::make_unique<TKind>(); });
    }
    bool Contains(const std::string& Extension, const std::string& KindName) const;
    // The entry for a file name's extension (spelt as ExtractFileExt finds it), or null.
    const TPictureFileFormat* FindByFileName(const std::string& FileName) const;
    // Entries, oldest first.
    const std::vector<TPictureFileFormat>& Formats() const noexcept { return FFormats; }

private:
    std::vector<TPictureFileFormat> FFormats;
};

// The program's registry, holding the platform's kinds from the first use on.
TPictureRegistry& PictureRegistry();

class TPicture {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The picture held, or null.
    const TGraphic* Graphic() const noexcept { return FGraphic.get(); }
    int Width() const noexcept { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const noexcept { return FGraphic ? FGraphic->Height() : 0; }

    // Replaces the content by the picture in FileName, read as the registry's kind for its
    // extension. Throws EInvalidGraphic "Unknown picture file extension (.%s)" (the extension
    // as the file name spells it) when no entry matches, EFOpenError when the file cannot be
    // opened, and the kind's own errors; the content is then unchanged.
    void LoadFromFile(const std::string& FileName,
                      const TPictureRegistry& Registry = PictureRegistry());

private:
    std::unique_ptr<TGraphic> FGraphic;
};
