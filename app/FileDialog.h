#pragma once

// TFileDialog: the open and save dialogs of the window, on QFileDialog (the desktop's native
// dialog where it offers one). Each keeps the name chosen last and offers it again the next time;
// a typed name without extension gets DefaultExt. Neither asks before replacing a file. The save
// dialog accepts a name only in an existing folder; the open dialog checks nothing, so a name
// that does not exist reaches the caller (and fails there).

#include <QString>
#include <QStringList>

#include <string>

class QWidget;

class TFileDialog {
public:
    enum class TKind { Open, Save };

    // Filter in the form "Label|Pattern|Label|Pattern": one entry per label, the first one
    // selected at first.
    TFileDialog(TKind Kind, const std::string& Filter, const std::string& DefaultExt);

    // Shows the dialog modally over Owner. True when the user chose a file (FileName), false
    // when cancelled.
    bool Execute(QWidget* Owner);

    // The chosen file's full path in the system's 8-bit encoding; "" before the first choice.
    const std::string& FileName() const noexcept { return FFileName; }

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
