#pragma once

// TAdvPage: the single page of a TAdvToolBarPager, which keeps it filling the pager. A plain
// container with a transparent background: the toolbars stand on it at absolute positions.

#include <QWidget>

class TAdvPage : public QWidget {
    Q_OBJECT

public:
    explicit TAdvPage(QWidget* Parent = nullptr);
};
