#pragma once

// PDF pages rendered to pixels with pdftoppm (Debian's poppler-utils), and measured: how the
// tests check a print sheet on the page as a printer would put it on paper.

#include "tests/support/JpegFixtures.h"
#include "tests/support/RunProgram.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

constexpr double RenderMmPerInch = 25.4;

// A rendered page: pdftoppm's binary PGM (grey) or PPM (colour).
struct TRender {
    int Width = 0;
    int Height = 0;
    int Channels = 0;
    double Dpi = 0;
    std::vector<std::uint8_t> Samples;

    const std::uint8_t* At(int X, int Y) const {
        return Samples.data() + (static_cast<std::size_t>(Y) * Width + X) * Channels;
    }
    bool Dark(int X, int Y) const { return At(X, Y)[0] < 200; }
    // Anything but the paper's white.
    bool Inked(int X, int Y) const {
        for (int C = 0; C < Channels; ++C)
            if (At(X, Y)[C] < 245)
                return true;
        return false;
    }
    double Mm(double Dots) const { return Dots * RenderMmPerInch / Dpi; }
    int Dot(double Mm) const { return static_cast<int>(Mm / RenderMmPerInch * Dpi + 0.5); }
};

inline TRender ReadRender(const std::string& FileName) {
    const auto Bytes = ReadFileBytes(FileName);
    std::istringstream Header(std::string(Bytes.begin(), Bytes.end()));
    std::string Magic;
    int MaxValue = 0;
    TRender Render;
    Header >> Magic >> Render.Width >> Render.Height >> MaxValue;
    Render.Channels = Magic == "P6" ? 3 : 1;
    const auto Start = static_cast<std::ptrdiff_t>(Header.tellg()) + 1;
    Render.Samples.assign(Bytes.begin() + Start, Bytes.end());
    EXPECT_EQ(Render.Samples.size(),
              static_cast<std::size_t>(Render.Width) * Render.Height * Render.Channels);
    return Render;
}

// Renders page Page of Pdf at Dpi (-gray or colour), optionally only the area X, Y, W, H in
// pixels.
inline TRender RenderPdf(const TTempFolder& Dir, const std::string& Pdf, double Dpi, bool Grey,
                         std::vector<int> Area = {}, int Page = 1) {
    std::vector<std::string> Argv{
        "pdftoppm",           "-r", std::to_string(Dpi), "-singlefile", "-f",
        std::to_string(Page), "-l", std::to_string(Page)};
    if (Grey)
        Argv.push_back("-gray");
    if (Area.size() == 4)
        for (const auto& [Option, Value] : {std::pair{"-x", Area[0]}, std::pair{"-y", Area[1]},
                                            std::pair{"-W", Area[2]}, std::pair{"-H", Area[3]}})
            Argv.insert(Argv.end(), {Option, std::to_string(Value)});
    const std::string Stem = Dir.File("render");
    Argv.insert(Argv.end(), {Pdf, Stem});
    const TProgramRun Run = RunProgram(Argv);
    EXPECT_EQ(Run.ExitCode, 0) << "pdftoppm (Debian's poppler-utils): " << Run.Err;
    const std::string File = Stem + (Grey ? ".pgm" : ".ppm");
    TRender Render = ReadRender(File);
    Render.Dpi = Dpi;
    std::filesystem::remove(File);
    return Render;
}

inline std::string PdfInfo(const std::string& Pdf) {
    const TProgramRun Run = RunProgram({"pdfinfo", Pdf});
    EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
    return Run.Out;
}

// The text of a PDF's pages, as pdftotext reads it.
inline std::string PdfText(const std::string& Pdf) {
    const TProgramRun Run = RunProgram({"pdftotext", "-layout", Pdf, "-"});
    EXPECT_EQ(Run.ExitCode, 0) << Run.Err;
    return Run.Out;
}

// Dark runs along a line of samples: the centres of each run, in sample units.
inline std::vector<double> DarkRunCentres(const std::vector<bool>& Dark) {
    std::vector<double> Centres;
    for (std::size_t I = 0; I < Dark.size();) {
        if (!Dark[I]) {
            ++I;
            continue;
        }
        std::size_t End = I;
        while (End < Dark.size() && Dark[End])
            ++End;
        Centres.push_back((I + End - 1) / 2.0);
        I = End;
    }
    return Centres;
}

// A printed picture found on the page: its edges in millimetres from the page's top-left corner.
struct TMeasuredPiece {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    double Width() const { return Right - Left; }
    double Height() const { return Bottom - Top; }
};

// The inked area through the point (Xmm, Ymm), found by walking out along its row and its
// column until the paper shows: a picture, which its marks keep clear of.
inline TMeasuredPiece MeasurePiece(const TRender& Page, double Xmm, double Ymm) {
    const int Cx = Page.Dot(Xmm), Cy = Page.Dot(Ymm);
    EXPECT_TRUE(Page.Inked(Cx, Cy)) << "no picture at (" << Xmm << ", " << Ymm << ") mm";
    int Left = Cx, Right = Cx, Top = Cy, Bottom = Cy;
    while (Left > 0 && Page.Inked(Left - 1, Cy))
        --Left;
    while (Right + 1 < Page.Width && Page.Inked(Right + 1, Cy))
        ++Right;
    while (Top > 0 && Page.Inked(Cx, Top - 1))
        --Top;
    while (Bottom + 1 < Page.Height && Page.Inked(Cx, Bottom + 1))
        ++Bottom;
    return {Page.Mm(Left), Page.Mm(Top), Page.Mm(Right + 1), Page.Mm(Bottom + 1)};
}

// Whether the page is bare paper for Mm millimetres in from each of its edges.
inline bool BareMargins(const TRender& Page, double Mm) {
    const int Border = Page.Dot(Mm);
    for (int Y = 0; Y < Page.Height; ++Y)
        for (int X = 0; X < Page.Width; ++X)
            if ((X < Border || Y < Border || X >= Page.Width - Border ||
                 Y >= Page.Height - Border) &&
                Page.Inked(X, Y))
                return false;
    return true;
}
