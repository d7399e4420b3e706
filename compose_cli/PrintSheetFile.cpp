#include "compose_cli/PrintSheetFile.h"

#include "compose_cli/CoverComposition.h"
#include "compose_cli/ScanPreparation.h"
#include "composer/FrontCover.h"
#include "print_sheet/PdfSheet.h"
#include "print_sheet/SheetCaption.h"
#include "raster/Bitmap32.h"

#include <memory>

namespace {

// A front cover ready for the sheet: square, with the file it came from.
struct TFrontCover {
    TBitmap32 Picture;
    std::string File;
};

// One input, composed, with its front cover where the job asks for one.
struct TPreparedCover {
    TBitmap32 Inlay;
    TCoverComposition Composed{};
    std::string Caption;
    std::shared_ptr<const TFrontCover> Front;
};

// The middle square of Area of Picture; a notice on Report about File when much was cut.
std::shared_ptr<TFrontCover> SquareFront(const TBitmap32& Picture, const TRect& Area,
                                         const std::string& File, TSheetReport& Report) {
    const TSquareCut Cut = MiddleSquare(Area);
    auto Front = std::make_shared<TFrontCover>();
    CopyPictureArea(Picture, Cut.Area, Front->Picture);
    Front->File = File;
    if (const std::string Notice = SquareCutNotice(Cut); !Notice.empty())
        Report.push_back({TSheetRecord::TKind::Notice, File, {}, Notice});
    return Front;
}

// Bitmaps do not move: covers are held by pointer.
std::unique_ptr<TPreparedCover> PrepareCover(const std::string& Input, const TPrintSheetJob& Job,
                                             const std::shared_ptr<const TFrontCover>& SharedFront,
                                             TSheetReport& Report) {
    TBitmap32 Picture;
    const std::string Notice = PrepareCoverPicture(Input, Job.Scan, Picture);
    if (!Notice.empty())
        Report.push_back({TSheetRecord::TKind::Notice, Input, {}, Notice});
    auto Result = std::make_unique<TPreparedCover>();
    TPreparedCover& Cover = *Result;
    Cover.Composed = ComposeCoverPicture(
        Picture, TCoverRequest{Job.Layout, Job.Spine, Job.FindSpine, Job.Cut, {}}, Cover.Inlay);
    Cover.Caption = SheetCaption(Input, Cover.Composed.Layout, Job.Spine);
    Cover.Front = SharedFront;
    if (Job.FrontFromCover) {
        if (Cover.Composed.Layout != TInlayLayout::BackAndFront)
            throw EFrontCoverError("The picture is taken as the back card alone, which shows no "
                                   "front cover; --front-from-cover takes the front of a "
                                   "back-and-front picture");
        Cover.Front = SquareFront(
            Picture, FrontOfCover(Picture.Width(), Picture.Height(), Cover.Composed.Cut), Input,
            Report);
    }
    if (Cover.Composed.Search == TSpineSearch::NotFound)
        Report.push_back({TSheetRecord::TKind::NoSpine, Input, {}, {}});
    if (const std::string Low = LowResolutionNotice(Cover.Inlay.Width()); !Low.empty())
        Report.push_back({TSheetRecord::TKind::Notice, Input, {}, Low});
    return Result;
}

TSheetItem CardItem(const TPreparedCover& Cover) {
    return {TSheetPieceKind::TrayCard,
            {Cover.Inlay.Width(), Cover.Inlay.Height(),
             Cover.Composed.Composition.Geometry.SpineWidth}};
}

// A page of one cover, with its front cover when it has one.
void AddCoverPage(TPdfSheetWriter& Writer, const TPrintSheetJob& Job, const TPreparedCover& Cover) {
    std::vector<TSheetItem> Items{CardItem(Cover)};
    std::vector<const TBitmap32*> Pictures{&Cover.Inlay};
    std::string Caption = Cover.Caption;
    if (Cover.Front) {
        const TBitmap32& Front = Cover.Front->Picture;
        Items.push_back({TSheetPieceKind::FrontCover, {Front.Width(), Front.Height(), 0}});
        Pictures.push_back(&Front);
        Caption = FrontCoverCaption(Caption, Cover.Front->File);
    }
    Writer.AddPage(ComputePrintSheet(Writer.Page(), Job.Bleed, Items, Job.Caption ? Caption : ""),
                   Pictures);
}

// A page of two cards: Upper above, Lower (Upper again when none) below.
void AddTwoCardPage(TPdfSheetWriter& Writer, const TPrintSheetJob& Job, const TPreparedCover& Upper,
                    const TPreparedCover* Lower) {
    const TPreparedCover& Second = Lower ? *Lower : Upper;
    const std::string Caption =
        Lower ? TwoCardsCaption(Upper.Caption, Lower->Caption) : TwiceCaption(Upper.Caption);
    Writer.AddPage(ComputePrintSheet(Writer.Page(), Job.Bleed, {CardItem(Upper), CardItem(Second)},
                                     Job.Caption ? Caption : ""),
                   {&Upper.Inlay, &Second.Inlay});
}

} // namespace

TSheetReport WritePrintSheetFile(const std::vector<std::string>& Inputs, const std::string& Output,
                                 const TPrintSheetJob& Job) {
    TSheetReport Report;
    // A failure of the PDF as a whole is told of the only input, or of the output.
    const std::string& Whole = Inputs.size() == 1 ? Inputs.front() : Output;
    try {
        TPdfSheetWriter Writer(Job.Paper);
        std::shared_ptr<const TFrontCover> SharedFront;
        if (!Job.Front.empty()) {
            try {
                TBitmap32 Picture;
                LoadSoundCoverPicture(Picture, Job.Front);
                SharedFront = SquareFront(Picture, {0, 0, Picture.Width(), Picture.Height()},
                                          Job.Front, Report);
            } catch (const std::exception& E) {
                Report.push_back(FailureRecord(Job.Front, E));
                return Report;
            }
        }
        std::unique_ptr<TPreparedCover> Waiting; // the upper card of a page of two
        for (const std::string& Input : Inputs) {
            std::unique_ptr<TPreparedCover> Cover;
            try {
                Cover = PrepareCover(Input, Job, SharedFront, Report);
            } catch (const std::exception& E) {
                Report.push_back(FailureRecord(Input, E));
                continue;
            }
            if (Job.PerSheet != 2)
                AddCoverPage(Writer, Job, *Cover);
            else if (!Waiting)
                Waiting = std::move(Cover);
            else {
                AddTwoCardPage(Writer, Job, *Waiting, Cover.get());
                Waiting.reset();
            }
        }
        if (Waiting)
            AddTwoCardPage(Writer, Job, *Waiting, nullptr);
        if (Writer.PageCount() > 0)
            Writer.Save(Output);
    } catch (const std::exception& E) {
        Report.push_back(FailureRecord(Whole, E));
    }
    return Report;
}
