// A picture named on the program's command line, opened as the open dialog would open it.

#include "app/MainForm.h"

#include "base/RunHandler.h"

void TMainForm::OpenFile(const std::string& FileName) {
    RunHandler([&] {
        OpenDialog.SetFileName(FileName);
        LoadInputImage(FileName);
    });
}
