#pragma once

// TDropFileTarget: lets files be dropped on one widget, its Target. A drag that carries a list of
// files (text/uri-list with local files, as every file manager offers) is accepted with the copy
// or the link effect (ChooseDropEffect: the keys held and what the source offers); anything else
// shows the no-drop feedback. At the drop, DroppedFileNames and MappedFileNames hold the dropped
// names (full paths, 8-bit) and OnDrop is called with the keys and buttons held, the drop point
// in the target's coordinates and the chosen effect, which the handler may change; the effect it
// leaves is reported to the source. The lists are emptied again after the handler.
//
// MappedFileNames stays empty here: no desktop offers a name mapping alongside a file list.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

struct TShiftState {
    Qt::KeyboardModifiers Keys;
    Qt::MouseButtons Buttons;
};

class TDropFileTarget : public QObject {
    Q_OBJECT

public:
    using TDropEvent = std::function<void(QObject* Sender, const TShiftState& ShiftState,
                                          const QPoint& APoint, int& Effect)>;

    explicit TDropFileTarget(QObject* Parent = nullptr);

    // Registers on Value (accepting drops there) and unregisters from the previous target.
    void SetTarget(QWidget* Value);
    QWidget* Target() const { return FTarget; }

    const std::vector<std::string>& DroppedFileNames() const noexcept { return FDropped; }
    const std::vector<std::string>& MappedFileNames() const noexcept { return FMapped; }

    TDropEvent OnDrop;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    QPointer<QWidget> FTarget;
    std::vector<std::string> FDropped;
    std::vector<std::string> FMapped;
};

// The local files among Urls, as 8-bit full paths, in the source's order.
std::vector<std::string> LocalFileNames(const QList<QUrl>& Urls);
