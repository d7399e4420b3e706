#pragma once

// TStatusLine: one line of text at the bottom of a window that says what just happened, in the
// window's font, never interrupting anyone. A text too long for the line is shortened at its end
// with "…" and shown whole as the line's tooltip. With Warning the text is drawn in a warning
// colour. The line takes the width it is given: its text never widens the window.
//
// A screen reader reads it as a status bar whose name is the whole text.

#include <QLabel>

// The line's designed height in pixels, at an 11-pixel font.
inline constexpr int StatusLineHeight = 20;

class TStatusLine : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool Warning READ Warning WRITE setWarning)

public:
    explicit TStatusLine(QWidget* Parent = nullptr);

    bool Warning() const { return FWarning; }
    void setWarning(bool Value);

    // Shows Text (empty: clears the line), in the warning colour when Warning.
    void ShowMessage(const QString& Text, bool Warning);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void UpdateToolTip();

    bool FWarning = false;
};

// The colour of a warning's text: a dark red that reads well on the window's face.
QColor StatusWarningColor();
