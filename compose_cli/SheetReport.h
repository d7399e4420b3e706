#pragma once

// What the PDF writer (compose_cli/PrintSheetHelper.h) tells trayvane-compose about a run: one
// record a line on its standard error, in the order of the inputs, each about one file (an
// input, the front cover's picture, or the PDF as a whole):
//
//   failed<TAB>FILE<TAB>CLASS<TAB>MESSAGE    the file failed with an error of class CLASS
//   notice<TAB>FILE<TAB>TEXT                 a note on the file (a front cover cut square)
//   nospine<TAB>FILE                         no spine found: the layout's own cut was used
//
// Backslashes, tabs and line breaks in the fields are written as \\, \t, \n and \r.

#include <cstdint>
#include <string>
#include <vector>

struct TSheetRecord {
    enum class TKind : std::uint8_t { Failed, Notice, NoSpine };
    TKind Kind = TKind::Failed;
    std::string File;
    std::string ClassName; // of a failure
    std::string Text;      // the failure's message, or the notice
    bool operator==(const TSheetRecord&) const = default;
};

using TSheetReport = std::vector<TSheetRecord>;

// The records as the writer writes them, each ended by "\n".
std::string SheetReportText(const TSheetReport& Report);

// The records of Text; a line that is no record (Qt's own words, say) is left out.
TSheetReport ParseSheetReport(const std::string& Text);

// Whether any record is a failure.
bool SheetReportFailed(const TSheetReport& Report);
