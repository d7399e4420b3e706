#pragma once

// TAdvToolBarPager: the ribbon strip across the top of the window. It has one page and shows no
// tabs, caption or buttons; it paints the ribbon background and keeps each TAdvPage child
// filling its whole area (a page takes the pager's size when created, and follows it when the
// shown pager is resized).
//
// It lays out the toolbars of its page (RibbonLayout.h): side by side in the order of their
// designed left edges, 3 pixels apart; a toolbar that floats leaves its place to the others and
// comes back to it. When the pager is too narrow for them, toolbars with a compact form take it,
// the rightmost first; when it is still too narrow, arrows at its ends scroll the ribbon. The
// layout is redone when the pager is resized and, soon after, when a toolbar changes its width,
// leaves the page or comes back.

#include <QPointer>
#include <QWidget>

#include <vector>

class QAbstractButton;
class TAdvToolBar;

// The height of the ribbon strip.
inline constexpr int PagerDefaultHeight = 97;

class TAdvToolBarPager : public QWidget {
    Q_OBJECT

public:
    explicit TAdvToolBarPager(QWidget* Parent = nullptr);

    // As wide as its page's toolbars reach with all their controls, PagerDefaultHeight high; the
    // height is fixed.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The toolbars in their ribbon order, floating ones included.
    std::vector<TAdvToolBar*> ToolBars() const;
    // How far the ribbon is scrolled, and how far it can be.
    int ScrollOffset() const { return FScrollOffset; }
    int ScrollRange() const { return FScrollRange; }
    // Scrolls by one step of the arrows: Direction -1 to the left, +1 to the right.
    void ScrollBy(int Direction);
    // Lays the toolbars out at once (otherwise done soon after a change).
    void LayOutToolBars();

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void FitPages();
    void WatchPages();
    void CollectToolBars();
    void ScheduleLayout();

    std::vector<QPointer<TAdvToolBar>> FToolBars;
    QAbstractButton* FScrollLeft;
    QAbstractButton* FScrollRight;
    int FScrollOffset = 0;
    int FScrollRange = 0;
    bool FLayoutScheduled = false;
    bool FLayingOut = false;
};
