#pragma once

#include <array>

#include <QByteArray>
#include <QImage>
#include <QString>

namespace lectoria::ui {

/// An icon file's drawing, its strokes recoloured light for a dark background when `forDark`.
QByteArray TintedSvg(QByteArray svg, bool forDark);

/// Draws an SVG at `pixels` × `pixels`; a null image when it cannot be read.
QImage DrawSvg(QByteArray svg, int pixels);

/// Where the build keeps an icon drawn in advance, in the program's resources.
QString DrawnIconPath(const QString& name, bool forDark, int pixels);

/// The sizes the build draws the window's button icons at: 24 and 36 points, at one and at two
/// pixels to the point.
inline constexpr std::array<int, 4> kDrawnIconPixels{24, 36, 48, 72};

} // namespace lectoria::ui
