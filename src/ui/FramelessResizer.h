#pragma once

#include <QObject>
#include <QSize>
#include <QPoint>

class QWidget;
class QWindow;

namespace lectoria::ui {

/// Which edges of a window of `size` a pointer at `point` lies on, within `border` pixels.
Qt::Edges ResizeEdgesAt(QSize size, QPoint point, int border);
/// The sizing cursor for a set of edges; the arrow for none.
Qt::CursorShape ResizeCursor(Qt::Edges edges);

/// Resizes a frameless window from its edges: shows the sizing cursors near them and hands a
/// press there to the window system (`QWindow::startSystemResize`). Create it after the window's
/// flags are set; it follows the window if its native window is recreated.
class FramelessResizer : public QObject
{
    Q_OBJECT

public:
    explicit FramelessResizer(QWidget* window, int border = 5);
    ~FramelessResizer() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();
    void SetCursor(Qt::Edges edges);

    QWidget* m_window;
    QWindow* m_handle = nullptr;
    int m_border;
    bool m_cursorOverridden = false;
};

} // namespace lectoria::ui
