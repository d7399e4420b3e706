#pragma once

// The batch command's fast way from a JPEG scan to its inlay file: the scan is decoded row by
// row, only the columns the inlay uses, straight into the rows of a TStreamedInlay, whose final
// rows go to the JPEG or PPM writer as they are made. The picture is held once, as the decoder
// delivers it; nothing is composed, normalised or converted into a second full-size buffer. The
// result is exactly what LoadJpegFile, ComposeTrayInlay and SaveJpegFile or SavePpmFile give.

#include "composer/InlayLayout.h"
#include "composer/SpineCut.h"
#include "jpeg_bridge/JpegRowReader.h"

#include <optional>
#include <string>

// Composes the inlay of Scan (which CanDecode) in Layout, or the one its proportions give, with
// the spine setting Spine (at Cut when given, checked first with CheckExplicitCut), and writes
// it to Output: as binary PPM when the name ends in ".ppm",
// else as JPEG at the inlay's quality and density. With TwoThreads a large scan is decoded on two
// threads while the machine has a core to spare. Throws what the reader, the inlay and the writers
// throw (EJpegRowError, Exception "No image to save", EFCreateError, EWriteError, ...); Output is
// then as it was.
// Returns the inlay's width.
int ComposeByRows(const TJpegRowReader& Scan, const std::string& Output,
                  std::optional<TInlayLayout> Layout, int Spine, bool TwoThreads,
                  const std::optional<TSpineCut>& Cut = std::nullopt);
