// Keys, tooltips, accessible names and the Tab order of the window's controls, in one table: a
// new control gets a row here. A button's tooltip says what it does and names its key (the
// desktop's standard key for the action); Tab goes through the rows that are tab stops, in the
// table's order. Ctrl+Q (or the desktop's own Quit key) closes the window.

#include "app/MainForm.h"

#include <QAction>
#include <QKeySequence>

#include <optional>
#include <vector>

namespace {

struct TControlHelp {
    QWidget* Control;
    const char* Name;        // what a screen reader calls the control
    const char* Description; // what it does: the tooltip and the accessible description
    std::optional<QKeySequence> Key;
    bool TabStop;
};

QString Text(const char* Value) {
    return QString::fromUtf8(Value);
}

} // namespace

QKeySequence RotateLeftKey() {
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R);
}

QKeySequence RotateRightKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_R);
}

QKeySequence StraightenKey() {
    return QKeySequence(Qt::CTRL | Qt::Key_T);
}

void TMainForm::SetUpKeysAndTips() {
    const std::vector<TControlHelp> Controls = {
        {FileOpenButton, "Open", "Open a picture of a CD cover", QKeySequence::Open, true},
        {FileSaveButton, "Save", "Save the tray inlay as a JPEG file", QKeySequence::Save, true},
        {FilePrintButton, "Print",
         "Print the tray inlay at the size of a tray card, with marks to cut and fold by",
         QKeySequence::Print, true},
        {FormatBackButton, "Back layout",
         "The picture is the back card alone; its right edge is the spine", std::nullopt, true},
        {FormatBackFrontButton, "Back and front layout",
         "The picture is the whole cover: back card, spine and front side by side", std::nullopt,
         true},
        {FormatTrayCardButton, "Tray card layout",
         "The picture is a whole tray card, both spines on it: reprint it as it is", std::nullopt,
         true},
        {FormatFindSpineButton, "Find spine",
         "Look for the spine's two edges in the picture and cut there", QKeySequence::Find, true},
        {SpineSizeTrackBar, "Spine size",
         "Widen or narrow the spine strips, from -20 % to +20 % in steps of 5", std::nullopt, true},
        {ScanRotateLeftButton, "Rotate left",
         "Turn the picture a quarter turn to the left, counter-clockwise", RotateLeftKey(), true},
        {ScanRotateRightButton, "Rotate right",
         "Turn the picture a quarter turn to the right, clockwise", RotateRightKey(), true},
        {ScanStraightenButton, "Straighten",
         "Cut the card out of the scanner's bed around it and level it if it lies tilted",
         StraightenKey(), true},
        {InfoHomeButton, "Homepage", "Open Trayvane's home page in the browser", std::nullopt,
         true},
        {InputImgView, "Cover picture",
         "The picture of the cover, shrunk to fit, with the spine cut; drop a picture file here to "
         "open it",
         std::nullopt, false},
        {Splitter1, "Divider", "Drag to share the room between the two pictures", std::nullopt,
         false},
        {OutputImgView, "Tray inlay", "The tray inlay as it will be printed, shrunk to fit",
         std::nullopt, false},
        {StatusLine, "Status", "What the last action did", std::nullopt, false},
    };

    QWidget* Previous = nullptr;
    for (const TControlHelp& Row : Controls) {
        Row.Control->setAccessibleName(Text(Row.Name));
        Row.Control->setAccessibleDescription(Text(Row.Description));
        auto* const Button = qobject_cast<TAdvGlowButton*>(Row.Control);
        QString Tip = Text(Row.Description);
        if (Row.Key) {
            const QKeySequence& Key = *Row.Key;
            Tip += QStringLiteral(" (") + Key.toString(QKeySequence::NativeText) + QLatin1Char(')');
            if (Button != nullptr) {
                auto* const Action = new QAction(this);
                Action->setShortcut(Key);
                connect(Action, &QAction::triggered, Button, &TAdvGlowButton::Click);
                addAction(Action);
            }
        }
        // Buttons only: the slider shows no tooltip, which would cover it while it is dragged.
        if (Button != nullptr) {
            Button->setToolTip(Tip);
            Button->setTabStop(Row.TabStop);
        }
        if (Row.TabStop) {
            if (Previous != nullptr)
                setTabOrder(Previous, Row.Control);
            Previous = Row.Control;
        }
    }
    // The toolbars, as groups, are named by their captions.
    for (TAdvToolBar* const ToolBar : findChildren<TAdvToolBar*>())
        ToolBar->setAccessibleName(ToolBar->Caption());

    // F1: the window's own help.
    auto* const Help = new QAction(this);
    Help->setShortcuts(QKeySequence::HelpContents);
    connect(Help, &QAction::triggered, this, &TMainForm::HelpKeyPressed);
    addAction(Help);

    // Ctrl+Z: the picture back as it was opened, before any turn or straightening.
    auto* const Undo = new QAction(this);
    Undo->setShortcut(QKeySequence::Undo);
    connect(Undo, &QAction::triggered, this, &TMainForm::EditUndoClick);
    addAction(Undo);

    // Ctrl+Q where the desktop has no Quit key of its own (Windows has Alt+F4 only).
    auto* const Quit = new QAction(this);
    const QList<QKeySequence> QuitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    Quit->setShortcuts(QuitKeys.isEmpty() ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Q)}
                                          : QuitKeys);
    connect(Quit, &QAction::triggered, this, &QWidget::close);
    addAction(Quit);
}
