#pragma once

// TGraphic: a picture of one kind (JPEG, device-independent bitmap, icon, metafile) that can be
// read from a file and drawn into a TBitmap32. TPicture (raster/Picture.h) holds one.

#include "base/Exception.h"

class TBitmap32;
class TFileStream;

// A picture file cannot be read: unknown extension, or a kind whose files are not read here.
DECLARE_EXCEPTION_CLASS(EInvalidGraphic, Exception);

class TGraphic {
public:
    virtual ~TGraphic() = default;

    virtual const char* ClassName() const noexcept = 0;
    virtual int Width() const noexcept = 0;
    virtual int Height() const noexcept = 0;

    // Reads the picture from the rest of Stream. Throws the kind's errors; the picture is then
    // to be discarded.
    virtual void LoadFromStream(TFileStream& Stream) = 0;

    // Draws the picture at its own size with its top-left corner on Target's pixel (0, 0),
    // writing blue, green and red; alpha is left to the caller. Not validated: Target is at
    // least Width by Height.
    virtual void Draw(TBitmap32& Target) const = 0;
};
