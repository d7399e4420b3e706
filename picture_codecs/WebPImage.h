#pragma once

// TWebPImage: a WebP picture for the picture registry, read with libwebp: lossy and lossless,
// with or without alpha, which is laid over white. Animated files are refused.

#include "picture_codecs/DecodedPicture.h"

// A WebP file that cannot be read; the message begins with "WebP error: ".
DECLARE_EXCEPTION_CLASS(EWebPError, Exception);

class TWebPImage : public TDecodedPicture {
public:
    const char* ClassName() const noexcept override { return "TWebPImage"; }

protected:
    TDecodedFile Decode(TFileStream& Stream) const override;
};
