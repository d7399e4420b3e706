#include "widgets/AdvPage.h"

#include "widgets/AdvToolBarPager.h"

TAdvPage::TAdvPage(QWidget* Parent) : QWidget(Parent) {
    setFocusPolicy(Qt::NoFocus);
    // The pager cannot recognise a page that is still being constructed; the page places itself.
    if (qobject_cast<TAdvToolBarPager*>(Parent) != nullptr)
        setGeometry(Parent->rect());
}
