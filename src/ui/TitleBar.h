#pragma once

#include <array>

#include <QIcon>
#include <QObject>
#include <QRect>
#include <QWidget>

#include "settings/Settings.h"

class QMenu;
class QWindow;

namespace lectoria::ui {

/// Command ids of the window's system menu: the four items the window adds, and Close.
enum SystemCommand : int
{
    kFullScreenCommand = 1201,
    kCancelTitleColorCommand = 1202,
    kSetTitleColorCommand = 1203,
    kHelpCommand = 1204,
    kCloseCommand = 0xF060,
};

/// The window's system menu: 1202, 1203, 1201, 1204, then Close; each action's data is its id.
QMenu* CreateSystemMenu(QWidget* parent);

/// The title strip of the frameless main window: icon, caption, the help label and the minimise,
/// maximise/restore and close buttons. Dragging it moves the window, a double-click maximises or
/// restores it. It is painted in the title colours when they are on, otherwise in the palette.
class TitleBar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 32;

    /// The window buttons, from the right.
    enum Button
    {
        Close = 0,
        Maximize = 1,
        Minimize = 2,
    };

    explicit TitleBar(QWidget* parent = nullptr);

    /// Title colours: `text` (entry 0) for the caption and the help label, `background`
    /// (entry 1) behind them; `colored` false paints the strip in the palette, but the help label
    /// keeps `text`.
    void SetColors(bool colored, settings::Rgb text, settings::Rgb background);
    bool isColored() const { return m_colored; }

    /// The icon shown at the left; the window's icon when none is set.
    void SetIcon(const QIcon& icon);

    QRect iconRect() const;
    QRect buttonRect(Button button) const;
    /// Where the help label was last drawn.
    QRect helpLabelRect() const;
    bool isOverHelpLabel() const { return m_overHelp; }

    QSize sizeHint() const override;

signals:
    /// The help label was clicked.
    void helpRequested();
    /// The icon was clicked or the strip right-clicked; the menu belongs at `globalPos`.
    void systemMenuRequested(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The button under `point`, or -1.
    int ButtonAt(QPoint point) const;
    void UpdateHover(QPoint point);
    void PaintButton(QPainter& painter, Button button, const QColor& glyph) const;
    void ToggleMaximized();

    bool m_colored = false;
    QColor m_text{255, 0, 0};
    QColor m_background{1, 83, 173};
    QIcon m_icon;
    bool m_overHelp = false;
    int m_hoverButton = -1;
    int m_pressedButton = -1;
    /// A left press on the bare strip: the window moves once the pointer travels.
    bool m_moveCandidate = false;
    QPoint m_pressPos;
    /// Moving by hand where the window system cannot take the drag over.
    bool m_manualMove = false;
    QPoint m_moveOffset;
};

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
