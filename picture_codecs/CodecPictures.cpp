#include "picture_codecs/CodecPictures.h"

#include "base/FileName.h"
#include "picture_codecs/PNGImage.h"
#include "picture_codecs/TIFFImage.h"
#include "picture_codecs/WebPImage.h"

void RegisterCodecPictures(TPictureRegistry& Registry) {
    Registry.RegisterKind<TPNGImage>("png", "TPNGImage");
    Registry.RegisterKind<TTIFFImage>("tif", "TTIFFImage");
    Registry.RegisterKind<TTIFFImage>("tiff", "TTIFFImage");
    Registry.RegisterKind<TWebPImage>("webp", "TWebPImage");
}

bool IsCodecPictureName(const std::string& FileName) {
    const std::string Extension = ExtractFileExt(FileName);
    for (const char* Known : {".png", ".tif", ".tiff", ".webp"})
        if (SameTextAscii(Extension, Known))
            return true;
    return false;
}
