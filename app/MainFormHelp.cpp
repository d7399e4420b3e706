// F1: the window's own help, "Trayvane Help" (app/HelpWindow.h). One help window at a time: F1
// again brings it to the front where it was.

#include "app/MainForm.h"

#include "base/RunHandler.h"

void TMainForm::HelpKeyPressed() {
    RunHandler([this] {
        if (!FHelpWindow)
            FHelpWindow = std::make_unique<THelpWindow>(this);
        FHelpWindow->ShowInFront();
    });
}
