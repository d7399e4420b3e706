// The status line: one line that never widens its window, shortens a long text with its whole
// text as tooltip, and draws a warning in the warning colour.

#include "widgets/StatusLine.h"

#include <QImage>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// Whether Image has a pixel close to Color.
bool HasColor(const QImage& Image, const QColor& Color) {
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) {
            const QColor Pixel = Image.pixelColor(X, Y);
            if (std::abs(Pixel.red() - Color.red()) < 24 &&
                std::abs(Pixel.green() - Color.green()) < 24 &&
                std::abs(Pixel.blue() - Color.blue()) < 24)
                return true;
        }
    return false;
}

class StatusLineTest : public testing::Test {
protected:
    StatusLineTest() {
        QFont Font(QStringLiteral("Tahoma"));
        Font.setPixelSize(11);
        Window.setFont(Font);
        auto* const Layout = new QVBoxLayout(&Window);
        Layout->setContentsMargins(0, 0, 0, 0);
        Line = new TStatusLine(&Window);
        Layout->addWidget(Line);
        Window.resize(300, StatusLineHeight);
        Window.show();
    }

    QWidget Window;
    TStatusLine* Line = nullptr;
};

TEST_F(StatusLineTest, ALongTextIsShortenedNeverWidensTheWindowAndIsWholeInTheTooltip) {
    const QString Long = QStringLiteral("Couldn't read a-picture-with-a-very-long-name.jpg: ") +
                         QString(200, QLatin1Char('x'));
    Line->ShowMessage(Long, true);
    EXPECT_EQ(Line->height(), StatusLineHeight);
    EXPECT_LE(Window.minimumSizeHint().width(), 300);
    EXPECT_EQ(Line->toolTip(), Long);
    EXPECT_EQ(Line->text(), Long);

    Line->ShowMessage(QStringLiteral("Saved a.jpg"), false);
    EXPECT_EQ(Line->toolTip(), QString()) << "a text that fits needs no tooltip";
}

TEST_F(StatusLineTest, AWarningIsDrawnInTheWarningColourAndClearingDrawsNoText) {
    Line->ShowMessage(QStringLiteral("Couldn't save inlay.jpg: No image to save"), true);
    EXPECT_TRUE(Line->Warning());
    EXPECT_TRUE(HasColor(Line->grab().toImage(), StatusWarningColor()));

    Line->ShowMessage(QStringLiteral("Saved inlay.jpg"), false);
    EXPECT_FALSE(Line->Warning());
    EXPECT_FALSE(HasColor(Line->grab().toImage(), StatusWarningColor()));

    Line->ShowMessage(QString(), true);
    EXPECT_FALSE(Line->Warning()) << "an empty line warns of nothing";
    const QImage Empty = Line->grab().toImage();
    EXPECT_FALSE(HasColor(Empty.copy(0, 2, Empty.width(), Empty.height() - 2),
                          Line->palette().color(QPalette::WindowText)));
}

} // namespace
