#include "compose_cli/SheetReport.h"

namespace {

std::string Escaped(const std::string& Field) {
    std::string Text;
    for (const char C : Field) {
        switch (C) {
        case '\\':
            Text += "\\\\";
            break;
        case '\t':
            Text += "\\t";
            break;
        case '\n':
            Text += "\\n";
            break;
        case '\r':
            Text += "\\r";
            break;
        default:
            Text += C;
        }
    }
    return Text;
}

std::string Unescaped(const std::string& Field) {
    std::string Text;
    for (std::size_t I = 0; I < Field.size(); ++I) {
        if (Field[I] != '\\' || I + 1 == Field.size()) {
            Text += Field[I];
            continue;
        }
        const char Next = Field[++I];
        Text += Next == 't' ? '\t' : Next == 'n' ? '\n' : Next == 'r' ? '\r' : Next;
    }
    return Text;
}

std::vector<std::string> Fields(const std::string& Line) {
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    for (std::size_t Tab; (Tab = Line.find('\t', Start)) != std::string::npos; Start = Tab + 1)
        Parts.push_back(Unescaped(Line.substr(Start, Tab - Start)));
    Parts.push_back(Unescaped(Line.substr(Start)));
    return Parts;
}

} // namespace

std::string SheetReportText(const TSheetReport& Report) {
    std::string Text;
    for (const TSheetRecord& Record : Report) {
        switch (Record.Kind) {
        case TSheetRecord::TKind::Failed:
            Text += "failed\t" + Escaped(Record.File) + "\t" + Escaped(Record.ClassName) + "\t" +
                    Escaped(Record.Text);
            break;
        case TSheetRecord::TKind::Notice:
            Text += "notice\t" + Escaped(Record.File) + "\t" + Escaped(Record.Text);
            break;
        case TSheetRecord::TKind::NoSpine:
            Text += "nospine\t" + Escaped(Record.File);
            break;
        }
        Text += '\n';
    }
    return Text;
}

TSheetReport ParseSheetReport(const std::string& Text) {
    TSheetReport Report;
    std::size_t Start = 0;
    while (Start < Text.size()) {
        std::size_t End = Text.find('\n', Start);
        if (End == std::string::npos)
            End = Text.size();
        const std::vector<std::string> Parts = Fields(Text.substr(Start, End - Start));
        Start = End + 1;
        if (Parts[0] == "failed" && Parts.size() == 4)
            Report.push_back({TSheetRecord::TKind::Failed, Parts[1], Parts[2], Parts[3]});
        else if (Parts[0] == "notice" && Parts.size() == 3)
            Report.push_back({TSheetRecord::TKind::Notice, Parts[1], {}, Parts[2]});
        else if (Parts[0] == "nospine" && Parts.size() == 2)
            Report.push_back({TSheetRecord::TKind::NoSpine, Parts[1], {}, {}});
    }
    return Report;
}

bool SheetReportFailed(const TSheetReport& Report) {
    for (const TSheetRecord& Record : Report)
        if (Record.Kind == TSheetRecord::TKind::Failed)
            return true;
    return false;
}
