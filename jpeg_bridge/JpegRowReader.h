#pragma once

// TJpegRowReader: a JPEG file decoded row by row into rows that the caller provides, only the
// columns it asks for; for the batch command's fast way, which never holds the whole picture. It
// opens the file and hands it to the program's one decoder (jpeg_bridge/JpegRowDecoder.h), whose
// pixels are those LoadJpegFile gives (blue, green, red, 3 bytes each) for grey and colour
// files; other files are for LoadJpegFile alone.

#include "base/FileHandle.h"
#include "jpeg_bridge/JpegRowDecoder.h"
#include "jpeg_bridge/JpegRowWriter.h"

#include <string>

class TJpegRowReader {
public:
    // Opens FileName (a regular file) and reads the header. Throws EJpegRowError when the file
    // cannot be opened or has no readable header, or has more than MaxJpegPixels pixels.
    explicit TJpegRowReader(const std::string& FileName);
    TJpegRowReader(const TJpegRowReader&) = delete;
    TJpegRowReader& operator=(const TJpegRowReader&) = delete;

    int Width() const noexcept { return FHeader.Width; }
    int Height() const noexcept { return FHeader.Height; }
    // 1 (grey), 3 (colour), or another count that Decode refuses.
    int Components() const noexcept { return FHeader.Components; }
    // Whether Decode can deliver LoadJpegFile's pixels for this file: grey and colour files.
    bool CanDecode() const noexcept { return Components() == 1 || Components() == 3; }

    // The pixels a decoded row holds when columns [0, Columns) are asked for
    // (TJpegRowDecoder::RowPixels): a few more than Columns, at most Width.
    int RowPixels(int Columns) const noexcept {
        return TJpegRowDecoder::RowPixels(FHeader, Columns);
    }

    // Decodes every row, columns [0, Columns) (1 <= Columns <= Width), into Target(Y), which
    // is called once per row. With TwoThreads, a large file of one scan is decoded by this
    // thread and a second one at once, each taking part of the rows (where the decoder finds it
    // pays); Target must then be callable from both. Throws EJpegRowError when the data is
    // damaged or cut short (also where LoadJpegFile only notes the damage: the fast way leaves
    // such files to the full way), or for files CanDecode refuses; the rows are then left as
    // they came.
    void Decode(int Columns, const TJpegRowTarget& Target, bool TwoThreads) const;

private:
    [[noreturn]] void Fail(const std::string& Why) const;

    std::string FFileName;
    TFileHandle FFile; // the file, open for the reader's life; every decoder reads through it
    TJpegHeader FHeader;
};
