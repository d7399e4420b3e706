// Files made to exhaust the batch command: huge files of nothing and tiny files that claim huge
// pictures. Each must be refused with its error while the program's peak memory stays small.
// The memory is measured by GNU time (its %M, the peak resident size), which starts the program
// from a small process of its own: a program started straight from this test would count the
// test's own peak as well, which the kernel hands on through the start.

#include "tests/support/JpegFixtures.h"
#include "tests/support/PictureFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

// Far below what the files claim (half a gigabyte to three), far above what the program needs.
constexpr long MaxResidentKilobytes = 200 * 1024;

struct THostileCase {
    std::string Name;
    std::string FileName;
    std::function<std::vector<std::uint8_t>()> Content;
    std::uint64_t SparseSize; // the file is made this long with zeros the disk does not hold
    std::string Error;
};

class HostileInputTest : public testing::TestWithParam<THostileCase> {
protected:
    TTempFolder Dir;
};

TEST_P(HostileInputTest, IsRefusedWithLittleMemory) {
    const THostileCase& C = GetParam();
    const std::string Path = Dir.File(C.FileName);
    WriteFileBytes(Path, C.Content());
    if (C.SparseSize > 0) {
        ASSERT_EQ(::truncate(Path.c_str(), static_cast<off_t>(C.SparseSize)), 0);
    }
    const std::string Peak = Dir.File("peak");
    const TProgramRun Run = RunProgram({"/usr/bin/time", "-f", "%M", "-o", Peak,
                                        TRAYVANE_COMPOSE_EXECUTABLE, Path, Dir.File("out.jpg")});
    EXPECT_EQ(Run.ExitCode, 1) << Run.Err;
    EXPECT_THAT(Run.Err, testing::HasSubstr(C.Error));
    // GNU time writes a note on the exit status before the figure.
    const std::vector<std::uint8_t> Written = ReadFileBytes(Peak);
    std::string Text(Written.begin(), Written.end());
    Text = Text.substr(Text.find_last_of('\n', Text.size() - 2) + 1);
    EXPECT_LT(std::stol(Text), MaxResidentKilobytes) << "kilobytes at the peak";
    EXPECT_FALSE(std::filesystem::exists(Dir.File("out.jpg")));
}

std::vector<std::uint8_t> Nothing() {
    return {};
}

constexpr std::uint64_t ThreeGigabytes = std::uint64_t{3} << 30;

INSTANTIATE_TEST_SUITE_P(
    Files, HostileInputTest,
    testing::Values(
        THostileCase{"ThreeGigabytesOfZerosAsPng", "zeros.png", Nothing, ThreeGigabytes,
                     "PNG error: not a PNG file"},
        THostileCase{"ThreeGigabytesOfZerosAsTiff", "zeros.tif", Nothing, ThreeGigabytes,
                     "TIFF error: not a TIFF file"},
        THostileCase{"ThreeGigabytesOfZerosAsWebP", "zeros.webp", Nothing, ThreeGigabytes,
                     "WebP error: not a WebP file"},
        THostileCase{"PngHeaderClaiming11585Squared", "claim.png",
                     [] { return PngStart(11585, 11585, true); }, 0, "PNG error: "},
        THostileCase{"DeflateTiffClaiming11585SquaredRgba16", "deflate.tif",
                     [] { return TiffClaim(11585, 11585, 4, 16, TTiffCompression::Deflate, 16); },
                     0, "TIFF error: the picture data is damaged or cut short"},
        THostileCase{"PlainTiffClaiming11585SquaredRgba16", "plain.tif",
                     [] { return TiffClaim(11585, 11585, 4, 16, TTiffCompression::None, 16); }, 0,
                     "TIFF error: "},
        THostileCase{"LzwTiffClaiming11585SquaredRgb", "lzw.tif",
                     [] { return TiffClaim(11585, 11585, 3, 8, TTiffCompression::Lzw, 16); }, 0,
                     "TIFF error: the picture data is damaged or cut short"},
        THostileCase{"LosslessWebPClaiming16383By8192", "lossless.webp",
                     [] { return WebPClaim(16383, 8192, true, 34); }, 0, "WebP error: "},
        THostileCase{"LossyWebPClaiming16383By8192", "lossy.webp",
                     [] { return WebPClaim(16383, 8192, false, 34); }, 0, "WebP error: "}),
    [](const auto& Info) { return Info.param.Name; });

} // namespace
