#include "compose_cli/SheetOutput.h"

#include "compose_cli/ComposeCommand.h"

TPrintSheetJob PrintSheetJobOf(const TComposeOptions& Options) {
    TPrintSheetJob Job;
    Job.Layout = Options.Layout;
    Job.Spine = Options.Spine;
    Job.Paper = Options.Paper.value_or(PaperForLocale(PaperLocaleName()));
    Job.Bleed = Options.Bleed;
    Job.FindSpine = Options.FindSpine;
    Job.Cut = Options.Cut;
    Job.Scan = Options.Scan;
    Job.PerSheet = Options.PerSheet.value_or(1);
    Job.Front = Options.Front;
    Job.FrontFromCover = Options.FrontFromCover;
    Job.Caption = !Options.NoCaption;
    return Job;
}

std::string PrintSheetOutput(const std::vector<std::string>& Inputs, const std::string& Output,
                             const TComposeOptions& Options, bool& Failed) {
    std::string Text;
    for (const TSheetRecord& Record :
         RunPrintSheetHelper(Inputs, Output, PrintSheetJobOf(Options))) {
        Text += "trayvane-compose: " + Record.File + ": ";
        switch (Record.Kind) {
        case TSheetRecord::TKind::Failed:
            Failed = true;
            Text += DescribeComposeError(Record.Text);
            break;
        case TSheetRecord::TKind::NoSpine:
            Text += "no spine found, the layout's own cut is used";
            break;
        case TSheetRecord::TKind::Notice:
            Text += Record.Text;
            break;
        }
        Text += "\n";
    }
    return Text;
}
