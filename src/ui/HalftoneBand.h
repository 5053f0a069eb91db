#pragma once

#include <QLine>
#include <QRect>
#include <QWidget>

namespace lectoria::ui {

/// The drag line of a splitter: a 4-pixel band of checkerboard pixels drawn over its parent in
/// inverting mode, so every other pixel shows the inverse of what lies beneath.
///
/// The band is a transparent child that covers its parent, stays above its siblings and lets the
/// mouse through. Moving or hiding the line repaints the pixels it covered, which erases it.
class HalftoneBand : public QWidget
{
    Q_OBJECT

public:
    explicit HalftoneBand(QWidget* parent);

    /// Draws the band along a vertical or horizontal `line`, erasing the previous one.
    void ShowLine(const QLine& line);
    /// Erases the band.
    void HideLine();

    /// The pixels the band covers; empty when no line is shown.
    QRect band() const { return m_band; }

    /// The band for a line: 4 pixels across it, centred on it, as long as the line.
    static QRect BandRect(const QLine& line);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect m_band;
};

} // namespace lectoria::ui
