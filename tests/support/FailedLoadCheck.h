#pragma once

// Checks that a failed load leaves its bitmap exactly as it was.

#include "raster/Bitmap32.h"

#include "tests/support/BitmapTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

// Runs Load on a bitmap holding a known picture and checks that it threw ExpectedClass with
// ExpectedMessage and left the bitmap's size and pixels as they were, announcing nothing.
inline void ExpectFailureLeavesBitmap(const std::function<void(TBitmap32&)>& Load,
                                      const std::string& ExpectedClass,
                                      const std::string& ExpectedMessage) {
    TBitmap32 Bitmap;
    FillWithCoordinates(Bitmap, 7, 5);
    TBitmap32 Before;
    FillWithCoordinates(Before, 7, 5);
    TNotificationRecorder Recorder(Bitmap);
    try {
        Load(Bitmap);
        ADD_FAILURE() << "no error, expected " << ExpectedClass;
    } catch (const Exception& E) {
        EXPECT_EQ(E.ClassName(), ExpectedClass);
        EXPECT_EQ(E.Message(), ExpectedMessage);
    }
    EXPECT_TRUE(SameBitmaps(Bitmap, Before)) << "the failed load changed the bitmap";
    EXPECT_THAT(Recorder.Events, testing::IsEmpty());
}
