#pragma once

// The colours and shapes that the ribbon, its toolbars, the glow buttons and the track bar
// share: a light blue-grey ribbon with white cards and a soft blue accent.

#include <QColor>
#include <QPainterPath>
#include <QRectF>

// Ribbon background, top to bottom, and the line under it.
inline const QColor RibbonTopColor{0xF8, 0xFA, 0xFD};
inline const QColor RibbonBottomColor{0xE1, 0xE7, 0xF0};
inline const QColor RibbonEdgeColor{0xB7, 0xC4, 0xD6};

// Toolbar cards and their caption strip.
inline const QColor CardTopColor{0xFF, 0xFF, 0xFF, 0xE0};
inline const QColor CardBottomColor{0xF4, 0xF7, 0xFB, 0xE0};
inline const QColor CardBorderColor{0xC6, 0xD1, 0xE0};
inline const QColor CaptionTopColor{0xEA, 0xEF, 0xF6};
inline const QColor CaptionBottomColor{0xDD, 0xE4, 0xEE};
inline const QColor CaptionTextColor{0x45, 0x55, 0x6B};

// Accent: hover, press, latched buttons, the track fill and the focus ring.
inline const QColor AccentLightColor{0xE6, 0xF1, 0xFD};
inline const QColor AccentMidColor{0xC6, 0xDF, 0xF8};
inline const QColor AccentColor{0x4A, 0x8E, 0xDB};
inline const QColor AccentDarkColor{0x2F, 0x6F, 0xC0};
inline const QColor AccentBorderColor{0x86, 0xB6, 0xEA};

// Neutral text and lines.
inline const QColor TextColor{0x2C, 0x36, 0x45};
inline const QColor TextMutedColor{0x6A, 0x78, 0x8C};
inline const QColor LineColor{0x9A, 0xA8, 0xBB};

// A rounded rectangle whose 1-pixel outline falls on whole pixels: Rect shrunk by half a pixel.
inline QPainterPath RoundedOutline(const QRectF& Rect, double Radius) {
    QPainterPath Path;
    Path.addRoundedRect(Rect.adjusted(0.5, 0.5, -0.5, -0.5), Radius, Radius);
    return Path;
}
