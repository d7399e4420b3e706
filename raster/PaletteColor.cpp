#include "raster/PaletteColor.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

TColor PaletteSystemColor(TColor SystemColor) {
    const QColor Color = QGuiApplication::palette().color(
        QPalette::Active, SystemColor == clBtnFace ? QPalette::Button : QPalette::Window);
    return static_cast<TColor>(static_cast<std::uint32_t>(Color.red()) |
                               static_cast<std::uint32_t>(Color.green()) << 8 |
                               static_cast<std::uint32_t>(Color.blue()) << 16);
}
