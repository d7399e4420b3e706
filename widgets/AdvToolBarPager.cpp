#include "widgets/AdvToolBarPager.h"

#include "widgets/AdvPage.h"
#include "widgets/AdvToolBar.h"
#include "widgets/RibbonLayout.h"
#include "widgets/RibbonLook.h"

#include <QAbstractButton>
#include <QChildEvent>
#include <QEnterEvent>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <algorithm>

namespace {

// The width of a scroll arrow at either end of the ribbon.
constexpr int ScrollArrowWidth = 16;

// A scroll arrow at one end of the ribbon: a strip of the ribbon's colour with a chevron, over
// the toolbars it covers.
class TRibbonScrollArrow : public QAbstractButton {
public:
    TRibbonScrollArrow(QWidget* Pager, bool Left, const char* Name, const char* Description)
        : QAbstractButton(Pager), FLeft(Left) {
        setObjectName(QString::fromLatin1(Name));
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(QString::fromLatin1(Description));
        setToolTip(QString::fromLatin1(Description));
        setCursor(Qt::PointingHandCursor);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter Painter(this);
        Painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient Fill(0, 0, 0, height());
        Fill.setColorAt(0.0, isDown() ? AccentMidColor : RibbonTopColor);
        Fill.setColorAt(1.0, isDown() ? AccentMidColor : RibbonBottomColor);
        Painter.fillRect(rect(), Fill);
        Painter.fillRect(FLeft ? QRect(width() - 1, 0, 1, height()) : QRect(0, 0, 1, height()),
                         RibbonEdgeColor);
        const double X = width() / 2.0;
        const double Y = height() / 2.0;
        const double Reach = FLeft ? -3.0 : 3.0;
        QPainterPath Chevron;
        Chevron.moveTo(X - Reach, Y - 6);
        Chevron.lineTo(X + Reach, Y);
        Chevron.lineTo(X - Reach, Y + 6);
        Painter.setPen(QPen(underMouse() ? AccentDarkColor : TextColor, 2.0, Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin));
        Painter.drawPath(Chevron);
    }
    void enterEvent(QEnterEvent* Event) override {
        update();
        QAbstractButton::enterEvent(Event);
    }
    void leaveEvent(QEvent* Event) override {
        update();
        QAbstractButton::leaveEvent(Event);
    }

private:
    bool FLeft;
};

} // namespace

TAdvToolBarPager::TAdvToolBarPager(QWidget* Parent)
    : QWidget(Parent), FScrollLeft(new TRibbonScrollArrow(this, true, "RibbonScrollLeft",
                                                          "Scroll the ribbon to the left")),
      FScrollRight(new TRibbonScrollArrow(this, false, "RibbonScrollRight",
                                          "Scroll the ribbon to the right")) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    connect(FScrollLeft, &QAbstractButton::clicked, this, [this] { ScrollBy(-1); });
    connect(FScrollRight, &QAbstractButton::clicked, this, [this] { ScrollBy(1); });
}

std::vector<TAdvToolBar*> TAdvToolBarPager::ToolBars() const {
    std::vector<TAdvToolBar*> Result;
    for (const QPointer<TAdvToolBar>& ToolBar : FToolBars)
        if (ToolBar)
            Result.push_back(ToolBar);
    return Result;
}

QSize TAdvToolBarPager::sizeHint() const {
    int Right = 0;
    for (const QWidget* Page : findChildren<TAdvPage*>(Qt::FindDirectChildrenOnly))
        for (const TAdvToolBar* ToolBar :
             Page->findChildren<TAdvToolBar*>(Qt::FindDirectChildrenOnly))
            Right += ToolBar->FullWidth() + RibbonGroupGap;
    return QSize(RibbonLeftMargin + std::max(0, Right - RibbonGroupGap) + RibbonRightMargin,
                 PagerDefaultHeight);
}

QSize TAdvToolBarPager::minimumSizeHint() const {
    return QSize(0, PagerDefaultHeight);
}

bool TAdvToolBarPager::event(QEvent* Event) {
    // A page added before the pager had its size is fitted once the pager is polished.
    if (Event->type() == QEvent::Polish) {
        FitPages();
        WatchPages();
        LayOutToolBars();
    } else if (Event->type() == QEvent::ChildAdded) {
        WatchPages();
    }
    return QWidget::event(Event);
}

void TAdvToolBarPager::WatchPages() {
    for (TAdvPage* Page : findChildren<TAdvPage*>(Qt::FindDirectChildrenOnly)) {
        Page->removeEventFilter(this);
        Page->installEventFilter(this);
    }
}

// The page's toolbars come and go (floating, a popup) and change their widths: each change
// asks for a new layout, done once the change is over.
bool TAdvToolBarPager::eventFilter(QObject* Watched, QEvent* Event) {
    switch (Event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
    case QEvent::LayoutRequest:
        if (qobject_cast<TAdvPage*>(Watched) != nullptr)
            ScheduleLayout();
        break;
    case QEvent::Resize:
        if (qobject_cast<TAdvToolBar*>(Watched) != nullptr && !FLayingOut)
            ScheduleLayout();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(Watched, Event);
}

void TAdvToolBarPager::ScheduleLayout() {
    if (FLayoutScheduled)
        return;
    FLayoutScheduled = true;
    QTimer::singleShot(0, this, [this] {
        FLayoutScheduled = false;
        LayOutToolBars();
    });
}

// Toolbars are taken in the order of their designed left edges; one seen for the first time
// (added later) goes where its left edge puts it.
void TAdvToolBarPager::CollectToolBars() {
    FToolBars.erase(std::remove(FToolBars.begin(), FToolBars.end(), nullptr), FToolBars.end());
    for (TAdvPage* Page : findChildren<TAdvPage*>(Qt::FindDirectChildrenOnly))
        for (TAdvToolBar* ToolBar : Page->findChildren<TAdvToolBar*>(Qt::FindDirectChildrenOnly)) {
            if (std::find(FToolBars.begin(), FToolBars.end(), ToolBar) != FToolBars.end())
                continue;
            ToolBar->installEventFilter(this);
            auto At = FToolBars.begin();
            while (At != FToolBars.end() && (*At)->Place() == TAdvToolBar::TPlace::Docked &&
                   (*At)->x() + FScrollOffset <= ToolBar->x())
                ++At;
            FToolBars.insert(At, ToolBar);
        }
}

void TAdvToolBarPager::LayOutToolBars() {
    if (FLayingOut)
        return;
    FLayingOut = true;
    CollectToolBars();
    std::vector<TRibbonGroup> Groups;
    for (const QPointer<TAdvToolBar>& ToolBar : FToolBars)
        Groups.push_back(TRibbonGroup{ToolBar->FullWidth(), ToolBar->CompactWidth(),
                                      ToolBar->Place() == TAdvToolBar::TPlace::Floating});
    const TRibbonLayout Layout = LayoutRibbon(Groups, width());
    FScrollRange = Layout.ScrollRange;
    FScrollOffset = std::clamp(FScrollOffset, 0, FScrollRange);
    for (std::size_t I = 0; I < FToolBars.size(); ++I) {
        TAdvToolBar& ToolBar = *FToolBars[I];
        if (ToolBar.Place() != TAdvToolBar::TPlace::Docked)
            continue;
        ToolBar.setCompact(Layout.Compact[I]);
        ToolBar.move(Layout.Lefts[I] - FScrollOffset, ToolBar.y());
    }
    const int ArrowHeight = height() - 2;
    FScrollLeft->setGeometry(0, 1, ScrollArrowWidth, ArrowHeight);
    FScrollRight->setGeometry(width() - ScrollArrowWidth, 1, ScrollArrowWidth, ArrowHeight);
    FScrollLeft->setVisible(FScrollOffset > 0);
    FScrollRight->setVisible(FScrollOffset < FScrollRange);
    FScrollLeft->raise();
    FScrollRight->raise();
    FLayingOut = false;
    updateGeometry();
}

void TAdvToolBarPager::ScrollBy(int Direction) {
    FScrollOffset = ScrolledRibbonOffset(FScrollOffset, Direction, width(), FScrollRange);
    LayOutToolBars();
}

void TAdvToolBarPager::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    FitPages();
    LayOutToolBars();
}

void TAdvToolBarPager::FitPages() {
    for (TAdvPage* Page : findChildren<TAdvPage*>(Qt::FindDirectChildrenOnly))
        Page->setGeometry(rect());
}

void TAdvToolBarPager::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    QLinearGradient Background(0, 0, 0, height());
    Background.setColorAt(0.0, RibbonTopColor);
    Background.setColorAt(1.0, RibbonBottomColor);
    Painter.fillRect(rect(), Background);
    Painter.fillRect(QRect(0, 0, width(), 1), Qt::white);
    Painter.fillRect(QRect(0, height() - 1, width(), 1), RibbonEdgeColor);
}
