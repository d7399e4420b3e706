#include "app/HelpWindow.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The size the guide reads well at; smaller where the screen's work area is smaller.
constexpr int DesignedWidth = 640;
constexpr int DesignedHeight = 620;
// Room left for the window manager's frame.
constexpr int FrameAllowance = 48;

} // namespace

THelpWindow::THelpWindow(QWidget* Owner)
    : QWidget(Owner, Qt::Window), FBrowser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QString::fromLatin1(HelpWindowTitle));
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    FBrowser->setAccessibleName(QStringLiteral("Trayvane user guide"));
    FBrowser->setOpenExternalLinks(true);
    FBrowser->setSource(QUrl(QString::fromLatin1(HelpPageAddress)));
    // Keyboard reading: the text takes the focus, the arrows and Page keys scroll it.
    FBrowser->setFocus();

    auto* const Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(FBrowser);

    auto* const Close = new QAction(this);
    Close->setShortcuts(QKeySequence::Close);
    connect(Close, &QAction::triggered, this, &QWidget::close);
    addAction(Close);
}

// Esc reaches the window from the text, which has no use for it.
void THelpWindow::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(Event);
}

void THelpWindow::ShowInFront() {
    if (!FShownBefore) {
        FShownBefore = true;
        QSize Size(DesignedWidth, DesignedHeight);
        if (const QScreen* Screen = parentWidget() ? parentWidget()->screen() : screen()) {
            const QRect Area = Screen->availableGeometry();
            Size = Size.boundedTo(QSize(std::max(200, Area.width() - FrameAllowance),
                                        std::max(150, Area.height() - FrameAllowance)));
        }
        resize(Size);
    }
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}
