#pragma once

// TFileDialog: the open and save dialogs of the window, on QFileDialog (the desktop's native
// dialog where it offers one). Each keeps the name chosen last and offers it again the next time;
// a typed name without extension gets DefaultExt. Neither asks before replacing a file. The save
// dialog accepts a name only in an existing folder; the open dialog checks nothing, so a name
// that does not exist reaches the caller (and fails there).

#include <QString>
#include <QStringList>

#include <string>
#include <utility>

class QWidget;

class TFileDialog {
public:
    enum class TKind { Open, Save };

    // Filter in the form "Label|Pattern|Label|Pattern": one entry per label, the first one
    // selected at first.
    TFileDialog(TKind Kind, const std::string& Filter, const std::string& DefaultExt);

    // Shows the dialog modally over Owner. True when the user chose a file (FileName), false
    // when cancelled. Until a file has been chosen the dialog proposes Proposal (a full path,
    // "" for none), afterwards the file chosen last.
    bool Execute(QWidget* Owner, const std::string& Proposal = {});

    // The chosen file's full path in the system's 8-bit encoding; "" before the first choice.
    const std::string& FileName() const noexcept { return FFileName; }
    // Takes Value as the file chosen last, as if it had been chosen in the dialog.
    void SetFileName(std::string Value) { FFileName = std::move(Value); }

private:
    TKind FKind;
    QStringList FNameFilters;
    QString FSelectedFilter;
    QString FDefaultExt;
    std::string FFileName;
};

// Qt name filters for a filter in the form "Label|Pattern|...": "Label (Pattern)" per entry.
// Patterns on a case-sensitive file system also match their lower-case spelling, so that
// "*.JPG" shows cover.jpg as it does where names ignore case.
QStringList QtNameFilters(const std::string& Filter);
