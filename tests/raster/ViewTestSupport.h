#pragma once

// Helpers shared by the image view's widget tests.

#include "raster/Bitmap32.h"
#include "raster/ImgView32.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTest>

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>

inline std::ostream& operator<<(std::ostream& Out, const TRect& R) {
    return Out << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

// A pixel that names its own coordinates: x in the low 12 bits, y in the next 12, opaque.
inline TColor32 CoordinatePixel(int X, int Y) {
    return 0xFF000000u | static_cast<std::uint32_t>(Y) << 12 | static_cast<std::uint32_t>(X);
}

inline void FillWithCoordinates(TBitmap32& Bitmap) {
    Bitmap.BeginBatch();
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        for (int X = 0; X < Bitmap.Width(); ++X)
            Bitmap.ScanLine(Y)[X] = CoordinatePixel(X, Y);
    Bitmap.EndBatch();
    Bitmap.NotifyChanged();
}

inline std::string Hex(std::uint32_t Value) {
    std::ostringstream Out;
    Out << "0x" << std::hex << Value;
    return Out.str();
}

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QObject& Target) { Target.installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject* /*Watched*/, QEvent* Event) override {
        if (Event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

// Lets Qt deliver everything that is pending, the deferred repaints included.
inline void Settle() {
    for (int Round = 0; Round < 3; ++Round)
        QCoreApplication::processEvents();
}

// Shows View at Width x Height (in Qt's logical pixels) and waits until it has been painted.
inline void ShowView(TImgView32& View, int Width, int Height) {
    View.resize(Width, Height);
    View.show();
    (void)QTest::qWaitForWindowExposed(&View);
    Settle();
}
