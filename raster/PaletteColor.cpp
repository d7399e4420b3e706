#include "raster/PaletteColor.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace {

QPalette::ColorRole RoleOf(TColor SystemColor) {
    switch (SystemColor) {
    case clBtnFace:
        return QPalette::Button;
    case clWindow:
        return QPalette::Base;
    case clWindowText:
        return QPalette::Text;
    case clBtnText:
        return QPalette::ButtonText;
    case clHighlight:
        return QPalette::Highlight;
    case clHighlightText:
        return QPalette::HighlightedText;
    default:
        return QPalette::Window;
    }
}

} // namespace

TColor PaletteSystemColor(TColor SystemColor) {
    const QColor Color = QGuiApplication::palette().color(QPalette::Active, RoleOf(SystemColor));
    return static_cast<TColor>(static_cast<std::uint32_t>(Color.red()) |
                               static_cast<std::uint32_t>(Color.green()) << 8 |
                               static_cast<std::uint32_t>(Color.blue()) << 16);
}
