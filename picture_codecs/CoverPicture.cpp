#include "picture_codecs/CoverPicture.h"

#include "jpeg_bridge/UprightJpegFile.h"
#include "picture_codecs/CodecPictures.h"
#include "raster/Bitmap32.h"

void LoadCoverPicture(TBitmap32& Bitmap, const std::string& FileName, std::string& Damage) {
    if (IsCodecPictureName(FileName)) {
        Bitmap.LoadPictureFile(FileName);
        Damage.clear();
    } else {
        LoadUprightJpegFile(Bitmap, FileName, Damage);
    }
}

void LoadCoverPicture(TBitmap32& Bitmap, const std::string& FileName) {
    std::string Damage;
    LoadCoverPicture(Bitmap, FileName, Damage);
}
