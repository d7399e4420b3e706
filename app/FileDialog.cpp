#include "app/FileDialog.h"

#include "app/LocalFileName.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The save dialog's rule that the folder of a typed name must exist: Qt's own dialog would
// accept the name and let the save fail afterwards.
class TQtFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    bool PathMustExist = false;

    void accept() override {
        const QStringList Files = selectedFiles();
        if (PathMustExist && !Files.isEmpty() && !QFileInfo(Files.first()).dir().exists())
            return;
        QFileDialog::accept();
    }
};

} // namespace

QStringList QtNameFilters(const std::string& Filter) {
    const QStringList Parts = QString::fromStdString(Filter).split(QLatin1Char('|'));
    QStringList Filters;
    for (qsizetype I = 0; I + 1 < Parts.size(); I += 2) {
        QStringList Patterns = Parts[I + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString& Pattern : QStringList(Patterns))
            if (Pattern.toLower() != Pattern && !Patterns.contains(Pattern.toLower()))
                Patterns.append(Pattern.toLower());
        Filters.append(Parts[I] + QStringLiteral(" (") + Patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return Filters;
}

TFileDialog::TFileDialog(TKind Kind, const std::string& Filter, const std::string& DefaultExt)
    : FKind(Kind), FNameFilters(QtNameFilters(Filter)), FSelectedFilter(FNameFilters.value(0)),
      FDefaultExt(QString::fromStdString(DefaultExt)) {}

bool TFileDialog::Execute(QWidget* Owner, const std::string& Proposal) {
    TQtFileDialog Dialog(Owner);
    Dialog.setAcceptMode(FKind == TKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Dialog.setFileMode(QFileDialog::AnyFile);
    Dialog.setOption(QFileDialog::DontConfirmOverwrite);
    Dialog.PathMustExist = FKind == TKind::Save;
    Dialog.setNameFilters(FNameFilters);
    Dialog.selectNameFilter(FSelectedFilter);
    Dialog.setDefaultSuffix(FDefaultExt);
    if (!FFileName.empty())
        Dialog.selectFile(FromLocalFileName(FFileName));
    else if (!Proposal.empty())
        Dialog.selectFile(FromLocalFileName(Proposal));
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
        return false;
    FSelectedFilter = Dialog.selectedNameFilter();
    FFileName = ToLocalFileName(QDir::toNativeSeparators(Dialog.selectedFiles().first()));
    return true;
}
