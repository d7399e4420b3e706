#pragma once

// A libjpeg data source that reads an open file through its descriptor with pread, each
// decompressor at its own offset, leaving the descriptor's own position alone. Several
// decompressors, on several threads, may so read one open file at once, and all of them read
// that one file, also when another file is put under its name meanwhile.
//
// Usage, inside RunLibJpeg's body (jpeg_bridge/LibJpeg.h):
//
//   UseDescriptorSource(Info, File.Get());
//   jpeg_read_header(&Info, TRUE);

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

// Makes the open file Handle, read from its start, the data source of Info. The source lives in
// Info's permanent memory pool and goes with Info; Handle stays the caller's and must stay open
// until Info is destroyed. A read error ends the work with JERR_FILE_READ (errno as the system
// left it), an empty file with JERR_INPUT_EMPTY; data that ends early gives the warning
// JWRN_JPEG_EOF and an inserted end marker, as libjpeg's own file source does.
void UseDescriptorSource(jpeg_decompress_struct& Info, int Handle);
