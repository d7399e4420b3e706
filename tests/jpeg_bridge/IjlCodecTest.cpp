#include "jpeg_bridge/IjlCodec.h"

#include "tests/support/JpegFixtures.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

// A record filled with zero bytes and initialised, as every user of the codec prepares it.
struct TRecord {
    JPEG_CORE_PROPERTIES Props;
    TRecord() {
        std::memset(&Props, 0, sizeof Props);
        EXPECT_EQ(ijlInit(&Props), IJL_OK);
    }
    ~TRecord() { ijlFree(&Props); }
};

} // namespace

TEST(IjlCodecTest, InitGivesTheDefaults) {
    TRecord R;
    EXPECT_EQ(R.Props.JPGColor, IJL_YCBCR);
    EXPECT_EQ(R.Props.JPGChannels, 3);
    EXPECT_EQ(R.Props.DIBColor, IJL_BGR);
    EXPECT_EQ(R.Props.DIBChannels, 3);
    EXPECT_EQ(R.Props.jquality, 75);
    EXPECT_EQ(R.Props.DIBBytes, nullptr);
    EXPECT_EQ(R.Props.JPGFile, nullptr);
}

TEST(IjlCodecTest, CallsCheckTheirRecordAndMode) {
    JPEG_CORE_PROPERTIES Zero;
    std::memset(&Zero, 0, sizeof Zero);
    Zero.JPGFile = "/x.jpg";
    EXPECT_EQ(ijlInit(nullptr), IJL_INVALID_POINTER);
    EXPECT_EQ(ijlRead(nullptr, IJL_JFILE_READPARAMS), IJL_INVALID_POINTER);
    EXPECT_EQ(ijlRead(&Zero, IJL_JFILE_READPARAMS), IJL_NOT_INITIALISED);
    EXPECT_EQ(ijlWrite(&Zero, IJL_JFILE_WRITEWHOLEIMAGE), IJL_NOT_INITIALISED);
    EXPECT_EQ(ijlFree(&Zero), IJL_NOT_INITIALISED);

    TRecord R;
    EXPECT_EQ(ijlRead(&R.Props, IJL_JFILE_READPARAMS), IJL_INVALID_FILENAME);
    R.Props.JPGFile = "";
    EXPECT_EQ(ijlRead(&R.Props, IJL_JFILE_READPARAMS), IJL_INVALID_FILENAME);
    R.Props.JPGFile = "/x.jpg";
    EXPECT_EQ(ijlRead(&R.Props, IJL_JFILE_WRITEWHOLEIMAGE), IJL_INVALID_MODE);
    EXPECT_EQ(ijlWrite(&R.Props, IJL_JFILE_READPARAMS), IJL_INVALID_MODE);
    EXPECT_EQ(ijlWrite(&R.Props, IJL_JFILE_WRITEWHOLEIMAGE), IJL_INVALID_POINTER)
        << "no pixel buffer";
}

TEST(IjlCodecTest, EveryCodeHasItsOwnText) {
    std::set<std::string> Texts;
    for (int Code = IJL_OUT_OF_MEMORY; Code <= IJL_OK; ++Code) {
        const std::string Text = ijlErrorStr(Code);
        EXPECT_NE(Text, "Unknown error") << Code;
        EXPECT_TRUE(Texts.insert(Text).second) << "text of " << Code << " repeats: " << Text;
    }
    EXPECT_STREQ(ijlErrorStr(-1000), "Unknown error");
    EXPECT_STREQ(ijlErrorStr(7), "Unknown error");
}

TEST(IjlCodecTest, ReadsParametersAndDecodesTopDownOrBottomUp) {
    TTempFolder Dir;
    const std::string Path = Dir.File("p.jpg");
    WriteFileBytes(Path, EncodeJpeg(NoiseImage(6, 4, 3, 9), TFixtureColor::YCbCr));
    const TDecodedJpeg Expected = DecodeJpeg(ReadFileBytes(Path));

    TRecord R;
    R.Props.JPGFile = Path.c_str();
    ASSERT_EQ(ijlRead(&R.Props, IJL_JFILE_READPARAMS), IJL_OK);
    EXPECT_EQ(R.Props.JPGWidth, 6);
    EXPECT_EQ(R.Props.JPGHeight, 4);
    EXPECT_EQ(R.Props.JPGChannels, 3);

    // Rows of 18 bytes plus 2 of padding; the padding must stay as it was.
    for (const int Sign : {1, -1}) {
        SCOPED_TRACE(Sign > 0 ? "top row first" : "bottom row first");
        std::vector<std::uint8_t> Buffer(4 * 20, 0xEE);
        R.Props.DIBBytes = Buffer.data();
        R.Props.DIBWidth = 6;
        R.Props.DIBHeight = 4 * Sign;
        R.Props.DIBPadBytes = 2;
        ASSERT_EQ(ijlRead(&R.Props, IJL_JFILE_READWHOLEIMAGE), IJL_OK);
        for (int Y = 0; Y < 4; ++Y) {
            const std::uint8_t* Row = Buffer.data() + (Sign > 0 ? Y : 3 - Y) * 20;
            for (int X = 0; X < 6; ++X)
                for (int C = 0; C < 3; ++C)
                    EXPECT_EQ(Row[3 * X + C], Expected.Samples[(Y * 6 + X) * 3 + 2 - C])
                        << "pixel (" << X << ", " << Y << ") byte " << C;
            EXPECT_EQ(Row[18], 0xEE);
            EXPECT_EQ(Row[19], 0xEE);
        }
    }

    std::vector<std::uint8_t> Buffer(4 * 20);
    R.Props.DIBBytes = Buffer.data();
    R.Props.DIBWidth = 5;
    EXPECT_EQ(ijlRead(&R.Props, IJL_JFILE_READWHOLEIMAGE), IJL_INVALID_DIB)
        << "a buffer narrower than the picture";
    R.Props.DIBWidth = 6;
    R.Props.DIBHeight = 3;
    EXPECT_EQ(ijlRead(&R.Props, IJL_JFILE_READWHOLEIMAGE), IJL_INVALID_DIB)
        << "a buffer lower than the picture";
    R.Props.DIBHeight = 4;
    R.Props.JPGColor = IJL_G;
    EXPECT_EQ(ijlRead(&R.Props, IJL_JFILE_READWHOLEIMAGE), IJL_UNSUPPORTED_CONVERSION)
        << "grey asked of a colour file";
}

TEST(IjlCodecTest, WritesQualityAndDensityAsAsked) {
    TTempFolder Dir;
    std::vector<std::uint8_t> Pixels(8 * 8 * 3);
    for (std::size_t I = 0; I < Pixels.size(); ++I)
        Pixels[I] = static_cast<std::uint8_t>(I * 37);
    std::size_t Sizes[2] = {};
    for (const int Quality : {10, 100}) {
        const std::string Path = Dir.File("q" + std::to_string(Quality) + ".jpg");
        TRecord R;
        R.Props.JPGFile = Path.c_str();
        R.Props.JPGWidth = R.Props.DIBWidth = 8;
        R.Props.JPGHeight = 8;
        R.Props.DIBHeight = -8;
        R.Props.DIBBytes = Pixels.data();
        R.Props.jquality = Quality;
        R.Props.JPGDensityUnit = 2;
        R.Props.JPGXDensity = 118;
        R.Props.JPGYDensity = 59;
        ASSERT_EQ(ijlWrite(&R.Props, IJL_JFILE_WRITEWHOLEIMAGE), IJL_OK);
        const TDecodedJpeg Decoded = DecodeJpeg(ReadFileBytes(Path));
        EXPECT_EQ(Decoded.DensityUnit, 2);
        EXPECT_EQ(Decoded.XDensity, 118);
        EXPECT_EQ(Decoded.YDensity, 59);
        Sizes[Quality == 100] = ReadFileBytes(Path).size();
    }
    EXPECT_LT(Sizes[0], Sizes[1]) << "quality 10 gives the smaller file";
}
