#pragma once

#include <array>

#include <QIcon>
#include <QObject>
#include <QRect>
#include <QWidget>

#include "settings/Settings.h"

namespace lectoria::ui {

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
    /// The narrowest strip on which the caption, the help label and the buttons do not overlap.
    QSize minimumSizeHint() const override;
    /// Where the caption "Lectoria" is drawn.
    QRect captionRect() const;

    /// The system menu's Move and Size: handed to the window system when it can take them over,
    /// otherwise the window follows the pointer (moving, or sizing from its bottom-right corner)
    /// until a click or Return; Escape puts it back.
    void MoveFromMenu();
    void SizeFromMenu();
    /// True while the window follows the pointer for Move or Size.
    bool isTrackingMenuCommand() const { return m_menuTracking != MenuTracking::None; }

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
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The button under `point`, or -1.
    int ButtonAt(QPoint point) const;
    void UpdateHover(QPoint point);
    void PaintButton(QPainter& painter, Button button, const QColor& glyph) const;
    void ToggleMaximized();
    void EndMenuTracking(bool keep);

    enum class MenuTracking
    {
        None,
        Move,
        Size,
    };

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
    MenuTracking m_menuTracking = MenuTracking::None;
    /// The window's geometry when Move or Size began, for Escape.
    QRect m_trackingStart;
};

} // namespace lectoria::ui
