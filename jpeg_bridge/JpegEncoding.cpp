#include "jpeg_bridge/JpegEncoding.h"

void StartBgrCompress(jpeg_compress_struct& Info, int Width, int Height,
                      const TJpegEncoding& Encoding) {
    Info.image_width = static_cast<JDIMENSION>(Width);
    Info.image_height = static_cast<JDIMENSION>(Height);
    Info.input_components = 3;
    Info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, Encoding.Quality, TRUE);
    Info.write_JFIF_header = TRUE;
    Info.density_unit = static_cast<UINT8>(Encoding.DensityUnit);
    Info.X_density = static_cast<UINT16>(Encoding.XDensity);
    Info.Y_density = static_cast<UINT16>(Encoding.YDensity);
    jpeg_start_compress(&Info, TRUE);
}
