#pragma once

// Loading the picture of a cover as both programs do: by the file's extension, whatever kind of
// picture file it is.

class TBitmap32;

#include <string>

// Loads FileName into Bitmap: PNG, TIFF and WebP files (IsCodecPictureName) through the picture
// registry, any other name as a JPEG file read by the JPEG bridge and turned upright by its
// orientation tag (LoadUprightJpegFile), with that file's exact errors. A failure leaves Bitmap as
// it was.
void LoadCoverPicture(TBitmap32& Bitmap, const std::string& FileName);
// The same, telling in Damage libjpeg's words for damaged JPEG data that the decoder went past
// ("Corrupt JPEG data: premature end of data segment"; jpeg_bridge/JpegFile.h), or making it
// empty: the picture loads as above, its damaged rows grey or garbled.
void LoadCoverPicture(TBitmap32& Bitmap, const std::string& FileName, std::string& Damage);
