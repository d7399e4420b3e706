#include "app/StatusText.h"

#include "app/StatusMarks.h"

#include "base/FileName.h"
#include "composer/TrayCard.h"
#include "composer/TrayInlay.h"

#include <cmath>
#include <cstdio>

namespace {

std::string NameOf(const std::string& FileName) {
    return FileName.substr(ExtractFilePath(FileName).size());
}

// Millimetres with at most one decimal: "151", "117.5".
std::string Millimetres(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f", Value);
    std::string Result = Text;
    if (Result.size() > 2 && Result.compare(Result.size() - 2, 2, ".0") == 0)
        Result.resize(Result.size() - 2);
    return Result;
}

bool IsLow(int DotsPerInch) {
    return DotsPerInch > 0 && DotsPerInch < LowResolutionDotsPerInch;
}

std::string LowResolutionText(int DotsPerInch) {
    return "Low resolution: " + std::to_string(DotsPerInch) + " dpi at tray-card size";
}

// Text, followed by the low-resolution warning when DotsPerInch calls for one.
TStatusText WithResolution(std::string Text, int DotsPerInch) {
    if (!IsLow(DotsPerInch))
        return {std::move(Text), false};
    return {std::move(Text) + StatusDash + LowResolutionText(DotsPerInch), true};
}

// "Reason" and "Next" as two sentences: a full stop between them unless Reason has one.
std::string Sentences(const std::string& Reason, const std::string& Next) {
    const bool Closed = !Reason.empty() && (Reason.back() == '.' || Reason.back() == '!');
    return Reason + (Closed ? " " : ". ") + Next;
}

std::string Failure(TFileAction Action, const std::string& FileName, const std::string& Message) {
    const std::string Reason = ErrorReason(Message);
    switch (Action) {
    case TFileAction::Read:
        return "Couldn't read " + NameOf(FileName) + ": " + Reason;
    case TFileAction::Save:
        return "Couldn't save " + NameOf(FileName) + ": " + Reason;
    case TFileAction::None:
        break;
    }
    return Reason;
}

// What is damaged, from libjpeg's words: without the "Corrupt JPEG data: " they start with.
std::string DamageWords(const std::string& Damage) {
    const std::string Corrupt = "Corrupt JPEG data: ";
    return Damage.compare(0, Corrupt.size(), Corrupt) == 0 ? Damage.substr(Corrupt.size()) : Damage;
}

TStatusText Describe(const TLoadedStatus& Loaded) {
    const char* const Layout = Loaded.Layout == TInlayLayout::BackAndFront ? "back and front"
                               : Loaded.Layout == TInlayLayout::TrayCard   ? "tray card"
                                                                           : "back";
    std::string Text = NameOf(Loaded.FileName) + ", " + std::to_string(Loaded.Width) + " " +
                       StatusTimes + " " + std::to_string(Loaded.Height) + ": " + Layout;
    if (!Loaded.Damage.empty())
        Text += StatusDash + NameOf(Loaded.FileName) + " is damaged: " + DamageWords(Loaded.Damage);
    else if (Loaded.LooksLikeTrayCard && Loaded.Layout != TInlayLayout::TrayCard)
        Text += std::string(StatusDash) +
                "This looks like a whole tray card: TRAY CARD reprints it as "
                "it is";
    else if (Loaded.SpineOffsetMm && std::abs(*Loaded.SpineOffsetMm) > SpineHintMm)
        Text += std::string(StatusDash) + "The spine lies " +
                Millimetres(std::abs(*Loaded.SpineOffsetMm)) + " mm " +
                (*Loaded.SpineOffsetMm > 0 ? "right" : "left") + " of the cut: Find spine (" +
                Loaded.FindSpineKey + ") cuts there";
    TStatusText Status = WithResolution(std::move(Text), Loaded.InlayDotsPerInch);
    Status.Warning = Status.Warning || !Loaded.Damage.empty();
    return Status;
}

TStatusText Describe(const TComposedStatus& Composed) {
    if (!IsLow(Composed.InlayDotsPerInch))
        return {};
    return {LowResolutionText(Composed.InlayDotsPerInch), true};
}

// "151 × 117.5 mm at 255 dpi": the tray card's printed size and the inlay's density.
std::string PrintedSize(int DotsPerInch) {
    const double HeightMm = TrayCardHeightMm;
    return Millimetres(TrayCardWidthMm) + " " + StatusTimes + " " + Millimetres(HeightMm) +
           " mm at " + std::to_string(DotsPerInch) + " dpi";
}

TStatusText Describe(const TSavedStatus& Saved) {
    return WithResolution("Saved " + NameOf(Saved.FileName) + ": " + PrintedSize(Saved.DotsPerInch),
                          Saved.DotsPerInch);
}

// Millimetres with one decimal always: "6.4", "138.0".
std::string TenthsOfMillimetre(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f", Value);
    return Text;
}

TStatusText Describe(const TSpineFoundStatus& Found) {
    const double Strip = static_cast<double>(Found.Right) - Found.Left;
    const double Composed = static_cast<double>(Found.Left) + 2 * Strip;
    if (Strip <= 0 || Composed <= 0)
        return {};
    const double MmPerColumn = TrayCardWidthMm / Composed;
    return WithResolution("Spine found: " + TenthsOfMillimetre(Strip * MmPerColumn) +
                              " mm wide at " + TenthsOfMillimetre(Found.Left * MmPerColumn) + " mm",
                          Found.InlayDotsPerInch);
}

TStatusText Describe(const TPrintedStatus& Printed) {
    const std::string Where = Printed.ToFile ? "Printed to " + NameOf(Printed.Target)
                                             : "Sent to printer " + Printed.Target;
    return WithResolution(Where + ": " + PrintedSize(Printed.DotsPerInch), Printed.DotsPerInch);
}

TStatusText Describe(const TErrorStatus& Error) {
    const std::string Where = Error.LogPath.empty() ? std::string("Details on standard error")
                                                    : "Details in " + Error.LogPath;
    return {Sentences(Failure(Error.Action, Error.FileName, Error.Message), Where), true};
}

TStatusText Describe(const TDropIgnoredStatus& Dropped) {
    if (Dropped.FailedFileName.empty())
        return {"No picture among the dropped files", true};
    return {Failure(TFileAction::Read, Dropped.FailedFileName, Dropped.Message), true};
}

} // namespace

TStatusText StatusText(const TStatusEvent& Event) {
    return std::visit([](const auto& What) { return Describe(What); }, Event);
}

std::string ErrorReason(const std::string& Message) {
    static constexpr const char* Marker = "Error: ";
    std::size_t At = 0;
    for (At = Message.find(Marker); At != std::string::npos; At = Message.find(Marker, At + 1))
        if (At == 0 || Message[At - 1] == '\r' || Message[At - 1] == '\n')
            break;
    if (At != std::string::npos) {
        const std::size_t Start = At + std::char_traits<char>::length(Marker);
        const std::size_t End = Message.find_first_of("\r\n", Start);
        return Message.substr(Start, End == std::string::npos ? End : End - Start);
    }
    std::string Text;
    for (std::size_t I = 0; I < Message.size(); ++I) {
        const char C = Message[I];
        if (C == '\r' || C == '\n') {
            if (C == '\r' && I + 1 < Message.size() && Message[I + 1] == '\n')
                ++I;
            Text += ' ';
        } else {
            Text += C;
        }
    }
    const std::size_t First = Text.find_first_not_of(' ');
    if (First == std::string::npos)
        return {};
    return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

std::string AbbreviateHome(const std::string& Path, const std::string& Home) {
    std::string Folder = Home;
    while (Folder.size() > 1 && Folder.back() == '/')
        Folder.pop_back();
    if (Folder.empty() || Folder == "/" || Path.compare(0, Folder.size(), Folder) != 0)
        return Path;
    if (Path.size() == Folder.size())
        return "~";
    if (Path[Folder.size()] != '/')
        return Path;
    return "~" + Path.substr(Folder.size());
}
