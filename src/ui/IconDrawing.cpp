#include "IconDrawing.h"

#include <QBuffer>
#include <QImageReader>
#include <QSize>

namespace lectoria::ui {

namespace {

// The two colours every icon file is drawn with, and what they become on a dark background.
constexpr const char* kStrokeColor = "#1f2d3d";
constexpr const char* kAccentColor = "#d9480f";
constexpr const char* kLightStroke = "#ffffff";
constexpr const char* kLightAccent = "#ffd54a";

} // namespace

QByteArray TintedSvg(QByteArray svg, bool forDark)
{
    if (forDark) {
        svg.replace(kStrokeColor, kLightStroke);
        svg.replace(kAccentColor, kLightAccent);
    }
    return svg;
}

QImage DrawSvg(QByteArray svg, int pixels)
{
    QBuffer buffer(&svg);
    QImageReader reader(&buffer, "svg");
    reader.setScaledSize(QSize(pixels, pixels));
    return reader.read();
}

QString DrawnIconPath(const QString& name, bool forDark, int pixels)
{
    return QStringLiteral(":/icons/drawn/%1-%2-%3.png")
        .arg(name, forDark ? QStringLiteral("d") : QStringLiteral("l"), QString::number(pixels));
}

} // namespace lectoria::ui
