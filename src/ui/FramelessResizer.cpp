#include "FramelessResizer.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace lectoria::ui {

Qt::Edges ResizeEdgesAt(QSize size, QPoint point, int border)
{
    Qt::Edges edges;
    if (point.x() < border) {
        edges |= Qt::LeftEdge;
    } else if (point.x() >= size.width() - border) {
        edges |= Qt::RightEdge;
    }
    if (point.y() < border) {
        edges |= Qt::TopEdge;
    } else if (point.y() >= size.height() - border) {
        edges |= Qt::BottomEdge;
    }
    return edges;
}

Qt::CursorShape ResizeCursor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal) {
        return Qt::SizeHorCursor;
    }
    if (vertical) {
        return Qt::SizeVerCursor;
    }
    return Qt::ArrowCursor;
}

FramelessResizer::FramelessResizer(QWidget* window, int border) : QObject(window), m_window(window), m_border(border)
{
    m_window->installEventFilter(this);
    Watch();
}

FramelessResizer::~FramelessResizer()
{
    SetCursor(Qt::Edges());
}

void FramelessResizer::Watch()
{
    // The window's native window sees every pointer move, whichever child widget is under it.
    QWindow* handle = m_window->windowHandle();
    if (handle == m_handle) {
        return;
    }
    if (m_handle != nullptr) {
        m_handle->removeEventFilter(this);
    }
    m_handle = handle;
    if (m_handle != nullptr) {
        m_handle->installEventFilter(this);
    }
}

void FramelessResizer::SetCursor(Qt::Edges edges)
{
    if (edges == Qt::Edges()) {
        if (m_cursorOverridden) {
            QGuiApplication::restoreOverrideCursor();
            m_cursorOverridden = false;
        }
        return;
    }
    if (m_cursorOverridden) {
        QGuiApplication::changeOverrideCursor(ResizeCursor(edges));
    } else {
        QGuiApplication::setOverrideCursor(ResizeCursor(edges));
        m_cursorOverridden = true;
    }
}

bool FramelessResizer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) {
            Watch();
        }
        return false;
    }
    if (watched != m_handle) {
        return false;
    }
    const bool resizable = !(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton) {
            SetCursor(resizable ? ResizeEdgesAt(m_handle->size(), mouse->position().toPoint(), m_border) : Qt::Edges());
        }
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const Qt::Edges edges = ResizeEdgesAt(m_handle->size(), mouse->position().toPoint(), m_border);
        if (resizable && mouse->button() == Qt::LeftButton && edges != Qt::Edges() &&
            m_handle->startSystemResize(edges)) {
            SetCursor(Qt::Edges());
            return true;
        }
        break;
    }
    case QEvent::Leave:
        SetCursor(Qt::Edges());
        break;
    default:
        break;
    }
    return false;
}

} // namespace lectoria::ui
