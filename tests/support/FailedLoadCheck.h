#pragma once

// Checks that a failed load leaves its bitmap exactly as it was.

#include "raster/Bitmap32.h"

#include "tests/support/BitmapTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

inline std::vector<TColor32> PixelsOf(const TBitmap32& Bitmap) {
    const TColor32* P = Bitmap.PixelData();
    return P ? std::vector<TColor32>(P, P + std::size_t(Bitmap.Width()) * Bitmap.Height())
             : std::vector<TColor32>{};
}

// Runs Load on a bitmap holding a known picture and checks that it threw ExpectedClass with
// ExpectedMessage and left the bitmap's size and pixels as they were, announcing nothing.
inline void ExpectFailureLeavesBitmap(const std::function<void(TBitmap32&)>& Load,
                                      const std::string& ExpectedClass,
                                      const std::string& ExpectedMessage) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 7, 5);
    const std::vector<TColor32> Before = PixelsOf(Bitmap);
    TNotificationRecorder Recorder(Bitmap);
    try {
        Load(Bitmap);
        ADD_FAILURE() << "no error, expected " << ExpectedClass;
    } catch (const Exception& E) {
        EXPECT_EQ(E.ClassName(), ExpectedClass);
        EXPECT_EQ(E.Message(), ExpectedMessage);
    }
    EXPECT_EQ(Bitmap.Width(), 7);
    EXPECT_EQ(Bitmap.Height(), 5);
    EXPECT_TRUE(PixelsOf(Bitmap) == Before) << "the pixels changed";
    EXPECT_THAT(Recorder.Events, testing::IsEmpty());
}
