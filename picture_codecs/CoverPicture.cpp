#include "picture_codecs/CoverPicture.h"

#include "jpeg_bridge/UprightJpegFile.h"
#include "picture_codecs/CodecPictures.h"
#include "raster/Bitmap32.h"

void LoadCoverPicture(TBitmap32& Bitmap, const std::string& FileName) {
    if (IsCodecPictureName(FileName))
        Bitmap.LoadPictureFile(FileName);
    else
        LoadUprightJpegFile(Bitmap, FileName);
}
