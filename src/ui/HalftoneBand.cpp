#include "HalftoneBand.h"

#include <algorithm>

#include <QEvent>
#include <QPainter>

#include "PaneLayout.h"

namespace lectoria::ui {

HalftoneBand::HalftoneBand(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(parent->rect());
    parent->installEventFilter(this);
    hide();
}

QRect HalftoneBand::BandRect(const QLine& line)
{
    const int half = layout::kDragBandWidth / 2;
    if (line.x1() == line.x2()) {
        return Edges(line.x1() - half, std::min(line.y1(), line.y2()), line.x1() + half,
                     std::max(line.y1(), line.y2()));
    }
    return Edges(std::min(line.x1(), line.x2()), line.y1() - half, std::max(line.x1(), line.x2()), line.y1() + half);
}

void HalftoneBand::ShowLine(const QLine& line)
{
    const QRect old = m_band;
    m_band = BandRect(line);
    if (old == m_band && isVisible()) {
        return;
    }
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update(old);
    update(m_band);
}

void HalftoneBand::HideLine()
{
    const QRect old = m_band;
    m_band = QRect();
    update(old);
    hide();
}

void HalftoneBand::paintEvent(QPaintEvent* /*event*/)
{
    if (m_band.isEmpty()) {
        return;
    }
    QPainter painter(this);
    // White through a difference composition inverts each channel; the pattern's empty pixels
    // are left alone, which gives the checkerboard.
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setBrushOrigin(0, 0);
    painter.fillRect(m_band, QBrush(Qt::white, Qt::Dense4Pattern));
}

bool HalftoneBand::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace lectoria::ui
