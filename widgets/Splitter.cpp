#include "widgets/Splitter.h"

#include "widgets/RibbonLook.h"
#include "widgets/SplitterRules.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

// The hatched line shown while dragging: a child of the splitter's parent, above its siblings,
// where the splitter would go.
class TSplitterLine : public QWidget {
public:
    explicit TSplitterLine(QWidget* Parent) : QWidget(Parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter Painter(this);
        Painter.fillRect(rect(), QBrush(TextColor, Qt::Dense4Pattern));
    }
};

TSplitter::TSplitter(QWidget* Parent) : QWidget(Parent) {
    setCursor(Qt::SplitVCursor);
    setFocusPolicy(Qt::NoFocus);
}

QWidget* TSplitter::Neighbour(int Offset) const {
    const auto* Layout =
        parentWidget() ? qobject_cast<QBoxLayout*>(parentWidget()->layout()) : nullptr;
    if (!Layout)
        return nullptr;
    const int Index = Layout->indexOf(const_cast<TSplitter*>(this)) + Offset;
    if (Index < 0 || Index >= Layout->count())
        return nullptr;
    return Layout->itemAt(Index)->widget();
}

int TSplitter::SizeForPointer(int GlobalY) const {
    return SplitterNewSize(FStartSize, GlobalY - FPressY, FMaxSize);
}

void TSplitter::mousePressEvent(QMouseEvent* Event) {
    QWidget* const Above = Neighbour(-1);
    QWidget* const Below = Neighbour(+1);
    if (Event->button() != Qt::LeftButton || FDragging || !Above) {
        QWidget::mousePressEvent(Event);
        return;
    }
    FControl = Above;
    FDragging = true;
    FPressY = static_cast<int>(Event->globalPosition().y());
    FStartSize = Above->height();
    FMaxSize = SplitterMaxSize(Above->height(), Below ? Below->height() : 0);
    FNewSize = FStartSize;
    if (!FLine)
        FLine = new TSplitterLine(parentWidget());
    ShowLineAt(FNewSize);
    // Esc must reach the splitter while the pointer is held, wherever the focus was.
    grabKeyboard();
}

void TSplitter::mouseMoveEvent(QMouseEvent* Event) {
    if (!FDragging)
        return;
    FNewSize = SizeForPointer(static_cast<int>(Event->globalPosition().y()));
    ShowLineAt(FNewSize);
}

void TSplitter::mouseReleaseEvent(QMouseEvent* Event) {
    if (!FDragging || Event->button() != Qt::LeftButton)
        return;
    FNewSize = SizeForPointer(static_cast<int>(Event->globalPosition().y()));
    const QPointer<QWidget> Control = FControl;
    const int NewSize = FNewSize;
    EndDrag();
    if (Control)
        Control->setFixedHeight(NewSize);
}

void TSplitter::keyPressEvent(QKeyEvent* Event) {
    if (FDragging && Event->key() == Qt::Key_Escape) {
        EndDrag();
        return;
    }
    QWidget::keyPressEvent(Event);
}

void TSplitter::ShowLineAt(int Size) {
    if (!FLine || !FControl)
        return;
    FLine->setGeometry(x(), FControl->y() + Size, width(), height());
    FLine->raise();
    FLine->show();
}

void TSplitter::EndDrag() {
    FDragging = false;
    releaseKeyboard();
    if (FLine)
        FLine->hide();
}

// A slim bar a shade darker than the views, with a short grip in the middle, so that it is seen
// between two views of the same colour.
void TSplitter::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    Painter.fillRect(rect(), CardBorderColor);
    const int Middle = width() / 2;
    Painter.fillRect(QRect(Middle - 16, 1, 32, std::max(height() - 2, 1)), LineColor);
}
