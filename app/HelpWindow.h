#pragma once

// THelpWindow: the window "Trayvane Help", the user guide shipped in the program's resources
// (resources/help/TrayvaneHelp.html) shown in a QTextBrowser; no browser is needed. Links inside
// the guide move within it; a web address is handed to the desktop. Esc or Ctrl+W closes it
// (hides it: shown again, it is where the user left it). The main window owns one and shows it
// on F1 (app/MainFormHelp.cpp).

#include <QWidget>

class QTextBrowser;

// The guide's address in the resources.
inline constexpr const char* HelpPageAddress = "qrc:/help/TrayvaneHelp.html";
inline constexpr const char* HelpWindowTitle = "Trayvane Help";

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    // A window of its own (a top-level window kept above Owner, and closed with it).
    explicit THelpWindow(QWidget* Owner);

    // Shows the window, in front and active; the first time at a size that fits the screen.
    void ShowInFront();

    QTextBrowser& Browser() const { return *FBrowser; }

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    QTextBrowser* FBrowser;
    bool FShownBefore = false;
};
