#include "widgets/AdvToolBarPager.h"

#include "widgets/AdvPage.h"
#include "widgets/RibbonLook.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

TAdvToolBarPager::TAdvToolBarPager(QWidget* Parent) : QWidget(Parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
}

QSize TAdvToolBarPager::sizeHint() const {
    int Right = 0;
    for (const QWidget* Page : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        for (const QWidget* Child : Page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            Right = std::max(Right, Child->geometry().right() + 1);
    return QSize(Right + 4, PagerDefaultHeight);
}

QSize TAdvToolBarPager::minimumSizeHint() const {
    return QSize(0, PagerDefaultHeight);
}

bool TAdvToolBarPager::event(QEvent* Event) {
    // A page added before the pager had its size is fitted once the pager is polished.
    if (Event->type() == QEvent::Polish)
        FitPages();
    return QWidget::event(Event);
}

void TAdvToolBarPager::resizeEvent(QResizeEvent* Event) {
    QWidget::resizeEvent(Event);
    FitPages();
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
