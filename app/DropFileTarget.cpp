#include "app/DropFileTarget.h"

#include "app/DropCandidates.h"
#include "app/LocalFileName.h"
#include "base/RunHandler.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

std::vector<std::string> LocalFileNames(const QList<QUrl>& Urls) {
    std::vector<std::string> Names;
    for (const QUrl& Url : Urls)
        if (Url.isLocalFile())
            Names.push_back(ToLocalFileName(QDir::toNativeSeparators(Url.toLocalFile())));
    return Names;
}

namespace {

// The effect for a drag in progress, or DropEffectNone when it must be refused.
int EffectFor(const QDropEvent& Event) {
    if (!Event.mimeData() || LocalFileNames(Event.mimeData()->urls()).empty())
        return DropEffectNone;
    const Qt::KeyboardModifiers Keys = Event.modifiers();
    return ChooseDropEffect(Keys.testFlag(Qt::ControlModifier), Keys.testFlag(Qt::ShiftModifier),
                            static_cast<int>(Event.possibleActions()));
}

// Accepts or refuses a drag or a drop with Effect.
void Answer(QDropEvent& Event, int Effect) {
    if (Effect == DropEffectNone) {
        Event.ignore();
        return;
    }
    Event.setDropAction(static_cast<Qt::DropAction>(Effect));
    Event.accept();
}

} // namespace

TDropFileTarget::TDropFileTarget(QObject* Parent) : QObject(Parent) {}

void TDropFileTarget::SetTarget(QWidget* Value) {
    if (FTarget) {
        FTarget->removeEventFilter(this);
        FTarget->setAcceptDrops(false);
    }
    FTarget = Value;
    if (FTarget) {
        FTarget->setAcceptDrops(true);
        FTarget->installEventFilter(this);
    }
}

bool TDropFileTarget::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched != FTarget)
        return false;
    switch (Event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto& Drag = static_cast<QDropEvent&>(*Event);
        RunHandler([&] { Answer(Drag, EffectFor(Drag)); });
        return true;
    }
    case QEvent::Drop: {
        auto& Drop = static_cast<QDropEvent&>(*Event);
        RunHandler([&] {
            int Effect = EffectFor(Drop);
            if (Effect == DropEffectNone) {
                Drop.ignore();
                return;
            }
            FDropped = LocalFileNames(Drop.mimeData()->urls());
            FMapped.clear();
            struct TClearLists {
                TDropFileTarget& Target;
                ~TClearLists() {
                    Target.FDropped.clear();
                    Target.FMapped.clear();
                }
            } Clear{*this};
            if (OnDrop)
                OnDrop(this, TShiftState{Drop.modifiers(), Drop.buttons()},
                       Drop.position().toPoint(), Effect);
            Answer(Drop, Effect & (DropEffectCopy | DropEffectMove | DropEffectLink));
        });
        return true;
    }
    default:
        return false;
    }
}
