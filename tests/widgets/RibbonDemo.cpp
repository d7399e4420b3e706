// A manual look at the ribbon: the window's four toolbars with their buttons and the spine
// slider above an empty area of the views' colour. Not a test; run it on a screen (or under
// xvfb-run and take a screenshot) to judge the drawing.
//
//   build/tests/widgets/widgets_ribbon_demo [--down] [--position N] [--focus]

#include "ui_RibbonForm.h"

#include <QApplication>
#include <QVBoxLayout>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QApplication Application(argc, argv);
    QWidget Window;
    Window.setWindowTitle("Trayvane ribbon");
    QFont Font("Tahoma");
    Font.setPixelSize(11);
    Window.setFont(Font);
    Window.resize(868, 300);
    auto* const Layout = new QVBoxLayout(&Window);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);
    auto* const Ribbon = new QWidget(&Window);
    Ui::RibbonForm Ui;
    Ui.setupUi(Ribbon);
    Ribbon->setFixedHeight(97);
    Layout->addWidget(Ribbon);
    auto* const View = new QWidget(&Window);
    View->setAutoFillBackground(true);
    QPalette Palette = View->palette();
    Palette.setColor(QPalette::Window, QColor(0xE4, 0xE7, 0xEE));
    View->setPalette(Palette);
    Layout->addWidget(View, 1);

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
