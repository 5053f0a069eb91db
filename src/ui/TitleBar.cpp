#include "TitleBar.h"

#include <algorithm>

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleHints>
#include <QWindow>

#include "ButtonStyle.h"

namespace lectoria::ui {

namespace {

// The strip stands where a window frame and caption would, so its geometry follows theirs: a
// frame 4 pixels wide, the icon centred 10 beyond it, the buttons on a 23-pixel pitch.
constexpr int kFrame = 4;
constexpr int kIconSize = 16;
constexpr int kButtonSize = 24;
constexpr int kButtonPitch = 23;
constexpr int kHelpTop = 6;
const QColor kShadow(200, 200, 200);

QFont TitleFont(double points)
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(points);
    return font;
}

bool IsDark(const QColor& color)
{
    return IsDarkColor(settings::Rgb{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                                     static_cast<std::uint8_t>(color.blue())});
}

QColor Inverted(const QColor& color)
{
    return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
}

// Draws `text` with its cell's top-left corner at `topLeft`.
void DrawText(QPainter& painter, QPoint topLeft, const QString& text)
{
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + painter.fontMetrics().ascent()), text);
}

} // namespace

TitleBar::TitleBar(QWidget* parent) : QWidget(parent)
{
    EnsureUiResources();
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(kHeight);
}

void TitleBar::showEvent(QShowEvent* event)
{
    // The strip may have been put into its window after it was made; installing again is harmless.
    if (window() != this) {
        window()->installEventFilter(this);
    }
    QWidget::showEvent(event);
}

void TitleBar::SetColors(bool colored, settings::Rgb text, settings::Rgb background)
{
    m_colored = colored;
    m_text = QColor(text.red, text.green, text.blue);
    m_background = QColor(background.red, background.green, background.blue);
    update();
}

void TitleBar::SetIcon(const QIcon& icon)
{
    m_icon = icon;
    update();
}

QSize TitleBar::sizeHint() const
{
    return QSize(400, kHeight);
}

QSize TitleBar::minimumSizeHint() const
{
    // The help label is centred: it needs the caption's room on its left and the buttons' room
    // on its right, whichever is more, on both sides.
    constexpr int gap = 8;
    const int label = helpLabelRect().width() + 1;
    const int left = captionRect().right() + 1 + gap;
    const int right = kFrame + 12 + kButtonPitch * static_cast<int>(Minimize) + kButtonSize / 2 + gap;
    return QSize(label + 2 * std::max(left, right), kHeight);
}

QRect TitleBar::captionRect() const
{
    // The caption is drawn one pixel up and left of its shadow; the rectangle holds both.
    const QFontMetrics metrics(TitleFont(10.5));
    const QPoint shadowAt(iconRect().right() + 1 + 7, iconRect().top() + 2);
    return QRect(shadowAt - QPoint(1, 1),
                 QSize(metrics.horizontalAdvance(QStringLiteral("Lectoria")) + 1, metrics.height() + 1));
}

QRect TitleBar::iconRect() const
{
    return QRect(kFrame + 10 - kIconSize / 2, 16 - kIconSize / 2, kIconSize, kIconSize);
}

QRect TitleBar::buttonRect(Button button) const
{
    const int centreX = width() - kFrame - 12 - kButtonPitch * static_cast<int>(button);
    return QRect(centreX - kButtonSize / 2, 17 - kButtonSize / 2, kButtonSize, kButtonSize);
}

QRect TitleBar::helpLabelRect() const
{
    const QFontMetrics metrics(TitleFont(15));
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("帮助系统"));
    return QRect((width() - labelWidth) / 2, kHelpTop, labelWidth, metrics.height());
}

int TitleBar::ButtonAt(QPoint point) const
{
    for (Button button : {Close, Maximize, Minimize}) {
        if (buttonRect(button).contains(point)) {
            return button;
        }
    }
    return -1;
}

void TitleBar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QColor background = m_colored ? m_background : palette().color(QPalette::Window);
    const QColor caption = m_colored ? m_text : palette().color(QPalette::WindowText);
    painter.fillRect(rect(), background);

    if (m_colored) {
        // The title colours leave the icon's square alone, so the icon keeps its usual ground.
        painter.fillRect(iconRect(), palette().color(QPalette::Window));
    }
    const QIcon icon = !m_icon.isNull() ? m_icon : window()->windowIcon();
    (icon.isNull() ? ToolIcon(QStringLiteral("lectoria")) : icon).paint(&painter, iconRect());

    painter.setFont(TitleFont(10.5));
    const QPoint captionAt = captionRect().topLeft() + QPoint(1, 1);
    if (m_colored) {
        painter.setPen(kShadow);
        DrawText(painter, captionAt, QStringLiteral("Lectoria"));
    }
    painter.setPen(caption);
    DrawText(painter, captionAt - QPoint(1, 1), QStringLiteral("Lectoria"));

    // The help label is drawn whether or not the strip is coloured.
    painter.setFont(TitleFont(15));
    const QString help = QStringLiteral("帮助系统");
    const QRect label = helpLabelRect();
    painter.setPen(kShadow);
    DrawText(painter, label.topLeft() + QPoint(1, 1), help);
    painter.setPen(m_overHelp ? Inverted(m_text) : m_text);
    DrawText(painter, label.topLeft(), help);

    // On the title colours the glyphs take whichever of white and black stands out.
    const QColor glyph = !m_colored ? caption : IsDark(background) ? QColor(Qt::white) : QColor(Qt::black);
    for (Button button : {Close, Maximize, Minimize}) {
        PaintButton(painter, button, glyph);
    }
}

void TitleBar::PaintButton(QPainter& painter, Button button, const QColor& glyph) const
{
    const QRectF box = QRectF(buttonRect(button)).adjusted(1.5, 1.5, -1.5, -1.5);
    QColor pen = glyph;
    if (m_hoverButton == button || m_pressedButton == button) {
        QColor fill;
        if (button == Close) {
            fill = QColor(232, 17, 35);
            pen = Qt::white;
        } else {
            fill = glyph;
            fill.setAlpha(m_pressedButton == button ? 80 : 45);
        }
        QPainterPath path;
        path.addRoundedRect(box, 4, 4);
        painter.fillPath(path, fill);
    }
    painter.setPen(QPen(pen, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    switch (button) {
    case Close:
        painter.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
        painter.drawLine(c + QPointF(5, -5), c + QPointF(-5, 5));
        break;
    case Maximize:
        if (window()->isMaximized()) {
            painter.drawRect(QRectF(c + QPointF(-5.5, -3), QSizeF(8.5, 8.5)));
            painter.drawPolyline(QPolygonF{c + QPointF(-3, -3), c + QPointF(-3, -5.5), c + QPointF(5.5, -5.5),
                                           c + QPointF(5.5, 3), c + QPointF(3, 3)});
        } else {
            painter.drawRect(QRectF(c + QPointF(-5.5, -5.5), QSizeF(11, 11)));
        }
        break;
    case Minimize:
        painter.drawLine(c + QPointF(-5.5, 4.5), c + QPointF(5.5, 4.5));
        break;
    }
}

void TitleBar::UpdateHover(QPoint point)
{
    const bool overHelp = helpLabelRect().contains(point);
    const int button = ButtonAt(point);
    if (overHelp != m_overHelp || button != m_hoverButton) {
        m_overHelp = overHelp;
        m_hoverButton = button;
        update();
    }
    if (overHelp) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
}

void TitleBar::mousePressEvent(QMouseEvent* event)
{
    if (isTrackingMenuCommand()) {
        // The release that follows ends the move or the size.
        return;
    }
    const QPoint point = event->position().toPoint();
    UpdateHover(point);
    if (event->button() == Qt::RightButton) {
        emit systemMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_pressedButton = ButtonAt(point);
    if (m_pressedButton >= 0) {
        update();
        return;
    }
    if (iconRect().contains(point)) {
        emit systemMenuRequested(mapToGlobal(iconRect().bottomLeft() + QPoint(0, 1)));
        return;
    }
    if (!helpLabelRect().contains(point)) {
        m_moveCandidate = true;
        m_pressPos = event->globalPosition().toPoint();
    }
}

void TitleBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (m_menuTracking == MenuTracking::Move) {
        window()->move(global - m_moveOffset);
        return;
    }
    if (m_menuTracking == MenuTracking::Size) {
        // The bottom-right corner follows the pointer; resize keeps the window's minimum size.
        const QPoint topLeft = window()->geometry().topLeft();
        window()->resize(global.x() - topLeft.x() + 1, global.y() - topLeft.y() + 1);
        return;
    }
    UpdateHover(event->position().toPoint());
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    // The move starts only once the pointer travels, so that a double-click still arrives.
    if (m_moveCandidate &&
        (global - m_pressPos).manhattanLength() >= QGuiApplication::styleHints()->startDragDistance()) {
        m_moveCandidate = false;
        QWindow* handle = window()->windowHandle();
        if (!window()->isMaximized() && (handle == nullptr || !handle->startSystemMove())) {
            // Without a window system that takes the drag over, the strip moves the window itself.
            m_manualMove = true;
            m_moveOffset = m_pressPos - window()->frameGeometry().topLeft();
        }
    }
    if (m_manualMove) {
        window()->move(global - m_moveOffset);
    }
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (isTrackingMenuCommand()) {
        EndMenuTracking(true);
        return;
    }
    const QPoint point = event->position().toPoint();
    const int pressed = m_pressedButton;
    m_pressedButton = -1;
    m_manualMove = false;
    m_moveCandidate = false;
    UpdateHover(point);
    update();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (helpLabelRect().contains(point)) {
        emit helpRequested();
        return;
    }
    if (pressed < 0 || ButtonAt(point) != pressed) {
        return;
    }
    switch (static_cast<Button>(pressed)) {
    case Close:
        window()->close();
        break;
    case Maximize:
        ToggleMaximized();
        break;
    case Minimize:
        window()->showMinimized();
        break;
    }
}

void TitleBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton && ButtonAt(point) < 0 && !iconRect().contains(point) &&
        !helpLabelRect().contains(point)) {
        ToggleMaximized();
        return;
    }
    mousePressEvent(event);
}

void TitleBar::leaveEvent(QEvent* event)
{
    m_overHelp = false;
    m_hoverButton = -1;
    unsetCursor();
    update();
    QWidget::leaveEvent(event);
}

bool TitleBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window() &&
        (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange ||
         event->type() == QEvent::WindowIconChange)) {
        update();
    }
    return QWidget::eventFilter(watched, event);
}

bool TitleBar::event(QEvent* event)
{
    // While the system menu's Move or Size follows the pointer, every key belongs to it, even
    // one the window uses for a command.
    if (event->type() == QEvent::ShortcutOverride && isTrackingMenuCommand()) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TitleBar::keyPressEvent(QKeyEvent* event)
{
    if (!isTrackingMenuCommand()) {
        QWidget::keyPressEvent(event);
        return;
    }
    constexpr int step = 8;
    QPoint delta;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EndMenuTracking(true);
        return;
    case Qt::Key_Escape:
        EndMenuTracking(false);
        return;
    case Qt::Key_Left:
        delta = QPoint(-step, 0);
        break;
    case Qt::Key_Right:
        delta = QPoint(step, 0);
        break;
    case Qt::Key_Up:
        delta = QPoint(0, -step);
        break;
    case Qt::Key_Down:
        delta = QPoint(0, step);
        break;
    default:
        return;
    }
    if (m_menuTracking == MenuTracking::Move) {
        window()->move(window()->pos() + delta);
    } else {
        window()->resize(window()->width() + delta.x(), window()->height() + delta.y());
    }
}

void TitleBar::MoveFromMenu()
{
    QWidget* moving = window();
    if (moving->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        return;
    }
    // As a system menu does, the pointer first goes to the middle of the title bar.
    const QPoint grip = mapToGlobal(rect().center());
    QCursor::setPos(grip);
    QWindow* handle = moving->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    m_menuTracking = MenuTracking::Move;
    m_trackingStart = moving->geometry();
    m_moveOffset = grip - moving->pos();
    grabMouse(Qt::SizeAllCursor);
    grabKeyboard();
}

void TitleBar::SizeFromMenu()
{
    QWidget* sizing = window();
    if (sizing->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) {
        return;
    }
    const QRect frame = sizing->geometry();
    const QPoint grip(frame.x() + frame.width() - 1, frame.y() + frame.height() - 1);
    QCursor::setPos(grip);
    QWindow* handle = sizing->windowHandle();
    if (handle != nullptr && handle->startSystemResize(Qt::RightEdge | Qt::BottomEdge)) {
        return;
    }
    m_menuTracking = MenuTracking::Size;
    m_trackingStart = frame;
    grabMouse(Qt::SizeFDiagCursor);
    grabKeyboard();
}

void TitleBar::EndMenuTracking(bool keep)
{
    if (!keep) {
        window()->setGeometry(m_trackingStart);
    }
    m_menuTracking = MenuTracking::None;
    releaseKeyboard();
    releaseMouse();
}

void TitleBar::ToggleMaximized()
{
    if (window()->isMaximized()) {
        window()->showNormal();
    } else {
        window()->showMaximized();
    }
}

} // namespace lectoria::ui
