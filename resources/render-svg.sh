#!/usr/bin/env bash
# Renders an SVG file to a PNG or JPEG picture with Qt's SVG renderer, the same renderer the
# program draws its button pictures with. Builds a tiny Qt program in a temporary folder first
# (needs g++, pkg-config, qt6-base-dev and qt6-svg-dev).
#
#   resources/render-svg.sh IN.svg OUT.png|OUT.jpg WIDTH HEIGHT [JPEG-QUALITY]
#
# A JPEG is written baseline (not progressive) on a white background.
set -euo pipefail
[[ $# -ge 4 ]] || { echo "usage: $0 IN.svg OUT.png|OUT.jpg WIDTH HEIGHT [QUALITY]" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/render.cpp" <<'CPP'
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication App(argc, argv);
    const QString In = QString::fromLocal8Bit(argv[1]);
    const QString Out = QString::fromLocal8Bit(argv[2]);
    const QSize Size(QString(argv[3]).toInt(), QString(argv[4]).toInt());
    const int Quality = argc > 5 ? QString(argv[5]).toInt() : 90;
    QSvgRenderer Renderer(In);
    if (!Renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const bool Jpeg = Out.endsWith(".jpg", Qt::CaseInsensitive);
    QImage Image(Size, QImage::Format_ARGB32_Premultiplied);
    Image.fill(Jpeg ? Qt::white : Qt::transparent);
    {
        QPainter Painter(&Image);
        Painter.setRenderHint(QPainter::Antialiasing);
        Renderer.render(&Painter, QRectF(QPointF(0, 0), QSizeF(Size)));
    }
    QImageWriter Writer(Out);
    if (Jpeg) {
        Writer.setQuality(Quality);
        Writer.setProgressiveScanWrite(false);
        Writer.setOptimizedWrite(true);
        Image = Image.convertToFormat(QImage::Format_RGB32);
    }
    if (!Writer.write(Image)) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[2], qPrintable(Writer.errorString()));
        return 1;
    }
    return 0;
}
CPP
# shellcheck disable=SC2046
g++ -std=c++17 -O1 -fPIC "$work/render.cpp" -o "$work/render" $(pkg-config --cflags --libs Qt6Svg Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/render" "$@"
