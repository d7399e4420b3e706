#pragma once

// How the program writes a JPEG file: the same settings and header for every file it saves,
// whichever way the pixels arrive.

#include "jpeg_bridge/LibJpeg.h"

struct TJpegEncoding {
    int Quality;     // 1 to 100
    int DensityUnit; // JFIF: 0 only the aspect ratio, 1 dots per inch, 2 dots per centimetre
    int XDensity;    // 1 to 65535
    int YDensity;
};

// Sets Info up for Width x Height pixels of blue, green and red (3 bytes each) as a baseline
// JFIF file of Encoding's quality and density, and starts the compression, which writes the
// file's header. Info is created and has its destination; call it inside RunLibJpeg, whose
// error handling it relies on.
void StartBgrCompress(jpeg_compress_struct& Info, int Width, int Height,
                      const TJpegEncoding& Encoding);
