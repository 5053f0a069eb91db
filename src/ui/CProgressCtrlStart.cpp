#include "CProgressCtrlStart.h"

#include <QPainter>

namespace lectoria::ui {

CProgressCtrlStart::CProgressCtrlStart(QWidget* parent) : QProgressBar(parent)
{
    setMinimumHeight(22);
}

QString CProgressCtrlStart::text() const
{
    const int upper = maximum();
    const int percent = upper > 0 ? static_cast<int>(static_cast<long long>(value() - minimum()) * 100 / upper) : 0;
    return QStringLiteral("正在恢复关闭时的状态,已完成%1%").arg(std::max(percent, 0));
}

void CProgressCtrlStart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    const int range = maximum() - minimum();
    const int filled =
        range > 0 ? static_cast<int>(static_cast<long long>(value() - minimum()) * area.width() / range) : 0;
    painter.fillRect(area, QColor(200, 50, 200));
    // From red at the left edge to yellow at the end of the filled part.
    QLinearGradient gradient(area.left(), 0, area.left() + std::max(filled, 1), 0);
    gradient.setColorAt(0.0, QColor(255, 0, 0));
    gradient.setColorAt(1.0, QColor(255, 255, 0));
    painter.fillRect(QRect(area.left(), area.top(), filled, area.height()), gradient);
    painter.setPen(QColor(0, 255, 0));
    painter.drawText(area, Qt::AlignCenter, text());
}

} // namespace lectoria::ui
