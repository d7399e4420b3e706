#pragma once

// TAdvToolBar: a ribbon group. It lays its child controls out side by side (ToolBarLayout.h:
// from 3 pixels off its left edge, no gaps, centred above the caption strip) and shows its
// Caption centred in the strip below them. With AutoSize (the default) it takes the width that
// layout asks for; with AutoSize off it keeps the width it is given. Its height is never
// changed by it (90 on the ribbon page).
//
// The layout is redone at once whenever a control is added or removed, when Caption, AutoSize
// or the font change, when a control asks for it with a QEvent::LayoutRequest sent to the
// toolbar (glow buttons do when they resize themselves), and when a shown control is resized,
// moved by someone else, shown or hidden. Controls hidden explicitly (hide(),
// setVisible(false)) take no place.

#include <QWidget>

#include <vector>

class TAdvToolBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)

public:
    explicit TAdvToolBar(QWidget* Parent = nullptr);

    QString Caption() const { return FCaption; }
    void setCaption(const QString& Value);
    bool AutoSize() const { return FAutoSize; }
    void setAutoSize(bool Value);

    // The controls that take part in the layout, in stacking order (the order they were added).
    std::vector<QWidget*> LaidOutControls() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void childEvent(QChildEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void DoLayout();
    int CaptionTextWidth() const;

    QString FCaption;
    bool FAutoSize = true;
    bool FLayingOut = false;
};
