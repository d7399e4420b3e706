#pragma once

// TAdvToolBarPager: the ribbon strip across the top of the window. It has one page and shows no
// tabs, caption or buttons; it paints the ribbon background and keeps each TAdvPage child
// filling its whole area (a page takes the pager's size when created, and follows it when the
// shown pager is resized). The toolbars stand on the page at the positions the window gives.

#include <QWidget>

// The height of the ribbon strip.
inline constexpr int PagerDefaultHeight = 97;

class TAdvToolBarPager : public QWidget {
    Q_OBJECT

public:
    explicit TAdvToolBarPager(QWidget* Parent = nullptr);

    // As wide as its page's toolbars reach, PagerDefaultHeight high; the height is fixed.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void FitPages();
};
