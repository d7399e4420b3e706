#pragma once

// TJpegRowReader: a JPEG file decoded row by row into rows that the caller provides, only the
// columns it asks for; for the batch command's fast way, which never holds the whole picture.
// The pixels are those LoadJpegFile gives (blue, green, red, 3 bytes each) for grey and colour
// files; other files are for LoadJpegFile alone.
//
// The file is opened once; every decoder reads it through that one descriptor at its own offset,
// so two threads may decode parts of it at once.

#include "base/Exception.h"

#include <cstdint>
#include <functional>
#include <string>

// Why the fast way could not read a file, with libjpeg's or the system's words. The batch command
// then reads the file the full way (LoadJpegFile), which reports the failure in its own words.
DECLARE_EXCEPTION_CLASS(EJpegRowError, Exception);

// Where decoded row Y goes: at least the row's pixels (RowPixels of the decode) of 3 bytes.
using TJpegRowTarget = std::function<std::uint8_t*(int Y)>;

class TJpegRowReader {
public:
    // Opens FileName (a regular file) and reads the header. Throws EJpegRowError when the file
    // cannot be opened or has no readable header, or has more than MaxJpegPixels pixels.
    explicit TJpegRowReader(const std::string& FileName);
    TJpegRowReader(const TJpegRowReader&) = delete;
    TJpegRowReader& operator=(const TJpegRowReader&) = delete;

    int Width() const noexcept { return FWidth; }
    int Height() const noexcept { return FHeight; }
    // 1 (grey), 3 (colour), or another count that Decode refuses.
    int Components() const noexcept { return FComponents; }
    // Whether Decode can deliver LoadJpegFile's pixels for this file: grey and colour files.
    bool CanDecode() const noexcept { return FComponents == 1 || FComponents == 3; }

    // The pixels a decoded row holds when columns [0, Columns) are asked for: a few more than
    // Columns (the colour of a pixel depends on its neighbours' where colour is stored at half
    // width, so the decoder reads on past the last column asked for), at most Width.
    int RowPixels(int Columns) const noexcept;

    // Decodes every row, columns [0, Columns) (1 <= Columns <= Width), into Target(Y), which
    // is called once per row. With TwoThreads, a file of one scan and more than one row group (8
    // or 16 rows) is decoded by this thread and a second one at once, each taking part of the
    // rows; Target must then be callable from both. That pays for large pictures only: the second
    // thread reads through the data of the rows above its part. Throws EJpegRowError when the
    // data is damaged or cut short (where LoadJpegFile fails too), or for files CanDecode refuses;
    // the rows are then left as they came.
    void Decode(int Columns, const TJpegRowTarget& Target, bool TwoThreads) const;

private:
    void DecodeRows(int Columns, int First, int End, const TJpegRowTarget& Target) const;
    [[noreturn]] void Fail(const std::string& Why) const;

    // The open file, closed with the reader (also when its constructor fails).
    struct TDescriptor {
        int Value = -1;
        TDescriptor() = default;
        TDescriptor(const TDescriptor&) = delete;
        TDescriptor& operator=(const TDescriptor&) = delete;
        ~TDescriptor();
    };

    std::string FFileName;
    TDescriptor FHandle;
    int FWidth = 0;
    int FHeight = 0;
    int FComponents = 0;
    bool FMultiScan = false;
    int FRowGroup = 8; // rows per iMCU row: where a decoding can be split
};
