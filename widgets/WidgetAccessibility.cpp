#include "widgets/WidgetAccessibility.h"

#include "widgets/AdvGlowButton.h"
#include "widgets/AdvSmoothTrackBar.h"
#include "widgets/StatusLine.h"

#include <QAccessibleWidget>

namespace {

class TGlowButtonAccessible : public QAccessibleWidget {
public:
    explicit TGlowButtonAccessible(TAdvGlowButton* Button)
        : QAccessibleWidget(Button, QAccessible::Button) {}

    QString text(QAccessible::Text Kind) const override {
        if (Kind == QAccessible::Name && Button()->accessibleName().isEmpty())
            return Button()->Caption();
        return QAccessibleWidget::text(Kind);
    }

    QAccessible::State state() const override {
        QAccessible::State State = QAccessibleWidget::state();
        State.pressed = Button()->ShowsPressed();
        if (Button()->GroupIndex() != 0) {
            State.checkable = true;
            State.checked = Button()->Down();
        }
        return State;
    }

    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& Action) override {
        if (Action == pressAction() && Button()->isEnabled())
            Button()->Click();
        else
            QAccessibleWidget::doAction(Action);
    }

private:
    TAdvGlowButton* Button() const { return static_cast<TAdvGlowButton*>(widget()); }
};

class TTrackBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TTrackBarAccessible(TAdvSmoothTrackBar* TrackBar)
        : QAccessibleWidget(TrackBar, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType Type) override {
        if (Type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(Type);
    }

    QString text(QAccessible::Text Kind) const override {
        if (Kind == QAccessible::Value)
            return QString::number(TrackBar()->Position());
        return QAccessibleWidget::text(Kind);
    }

    QVariant currentValue() const override { return TrackBar()->Position(); }
    void setCurrentValue(const QVariant& Value) override {
        if (!TrackBar()->ReadOnly())
            TrackBar()->setPosition(Value.toDouble());
    }
    QVariant maximumValue() const override { return TrackBar()->Maximum(); }
    QVariant minimumValue() const override { return TrackBar()->Minimum(); }
    QVariant minimumStepSize() const override { return TrackBar()->Step(); }

private:
    TAdvSmoothTrackBar* TrackBar() const { return static_cast<TAdvSmoothTrackBar*>(widget()); }
};

class TStatusLineAccessible : public QAccessibleWidget {
public:
    explicit TStatusLineAccessible(TStatusLine* Line)
        : QAccessibleWidget(Line, QAccessible::StatusBar) {}

    QString text(QAccessible::Text Kind) const override {
        if (Kind == QAccessible::Name)
            return static_cast<TStatusLine*>(widget())->text();
        return QAccessibleWidget::text(Kind);
    }
};

QAccessibleInterface* MakeAccessible(const QString& ClassName, QObject* Object) {
    if (ClassName == QLatin1String("TAdvGlowButton"))
        return new TGlowButtonAccessible(static_cast<TAdvGlowButton*>(Object));
    if (ClassName == QLatin1String("TAdvSmoothTrackBar"))
        return new TTrackBarAccessible(static_cast<TAdvSmoothTrackBar*>(Object));
    if (ClassName == QLatin1String("TStatusLine"))
        return new TStatusLineAccessible(static_cast<TStatusLine*>(Object));
    return nullptr;
}

} // namespace

void InstallWidgetAccessibility() {
    static const bool Installed = [] {
        QAccessible::installFactory(MakeAccessible);
        return true;
    }();
    (void)Installed;
}
