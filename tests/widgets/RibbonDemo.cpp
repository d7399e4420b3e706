// A manual look at the ribbon: the window description (resources/MainForm.ui) built without the
// window's handlers, so its four toolbars with their buttons and the spine slider show above the
// empty views. Not a test; run it on a screen (or under xvfb-run and take a screenshot) to judge
// the drawing.
//
//   build/tests/widgets/widgets_ribbon_demo [--down] [--position N] [--focus]

#include "ui_MainForm.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QApplication Application(argc, argv);
    QWidget Window;
    QFont Font("Tahoma");
    Font.setPixelSize(11);
    Window.setFont(Font);
    Ui::MainForm Ui;
    Ui.setupUi(&Window);

    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--down") == 0)
            Ui.FormatBackFrontButton->setDown(true);
        else if (std::strcmp(argv[i], "--position") == 0 && i + 1 < argc)
            Ui.SpineSizeTrackBar->setPosition(std::atof(argv[++i]));
        else if (std::strcmp(argv[i], "--focus") == 0)
            Ui.SpineSizeTrackBar->setFocus();
    }
    Window.show();
    return Application.exec();
}
