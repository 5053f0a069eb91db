#pragma once

#include "settings/Settings.h"

#include <array>

#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace lectoria::ui {

// Every rectangle here has the edges the window's layout arithmetic speaks of: `left` and `top`
// are the first pixels inside, `right` and `bottom` the first pixels outside (see RightOf and
// BottomOf). A rectangle whose right edge would lie left of its left edge is empty.

/// Which panes are shown; not kept between runs.
struct PaneFlags
{
    bool showList = true;
    bool showWhole = true;
    bool showGrammar = true;
    bool isFullScreen = false;
};

/// The pane flags and proportions the layout is computed from.
struct PaneState : PaneFlags, settings::PaneScales
{};

/// Sizes the layout arithmetic works with, in pixels of the client area.
namespace layout {
inline constexpr int kMargin = 10;
inline constexpr int kStatusHeight = 12;
inline constexpr int kPaneGap = 4;
inline constexpr int kSmallGap = 3;
inline constexpr int kModeButtonSize = 48;
inline constexpr int kModeButtonStep = 51;
inline constexpr int kReadingButtonSize = 32;
inline constexpr int kReadingButtonStep = 35;
inline constexpr int kDropDownWidth = 40;
inline constexpr int kDropDownHeight = 20;
inline constexpr int kDropDownStep = 73;
inline constexpr int kCaptionSize = 24;
/// The speed list is wider than the others: it shows a schedule such as "0.7, 0.85, 1.0".
inline constexpr int kSpeedListWidth = 64;
inline constexpr int kVolumeAreaHeight = 120;
/// The strip below the list area that holds the buttons and drop-down lists.
inline constexpr int kBottomBarHeight = 52;
inline constexpr int kListDragLimit = 20;
inline constexpr int kPaneDragLimit = 30;
inline constexpr int kEdgeStrip = 5;
/// The band a splitter drag draws is this wide.
inline constexpr int kDragBandWidth = 4;
} // namespace layout

/// Where every control of the main window stands for one client size and one `PaneState`.
///
/// The rectangles of the panes are those of the normal view even while a pane is hidden (where it
/// would stand if shown) and even in the full-screen view, so that hit tests, the toggle
/// corrections and the splitter limits always have them; the `...Shown` flags say what is visible.
struct PaneLayout
{
    QRect client;
    bool fullScreen = false;

    /// Buttons 1010 … 1016; 1012 … 1016 stay hidden with empty rectangles.
    std::array<QRect, 7> modeButtons;
    /// Buttons 1082 … 1087: start, pause, stop, previous, next, volume.
    std::array<QRect, 6> readingButtons;
    QRect exitButton;      ///< 1088
    QRect repeatList;      ///< 1079
    QRect intervalList;    ///< 1080
    QRect repeatCaption;   ///< 1077 "重复次数"
    QRect intervalCaption; ///< 1078 "朗读间隔"
    QRect speedList;       ///< the reading speed of each repetition
    QRect speedCaption;    ///< "语速"
    QRect shadowButton;    ///< the shadowing switch, left of the speed list
    /// Where the volume popup grows: above the volume button, as wide as it.
    QRect volumeArea;
    QRect statusLine; ///< 1020
    /// The list area L; the list stands here when shown.
    QRect listArea;
    /// Height of L, the base of the two pane proportions.
    int paneHeight = 0;
    /// The column right of the list that holds the three panes.
    QRect rightColumn;
    QRect wholePane;        ///< 1094
    QRect currentPane;      ///< 1098; the whole client area in the full-screen view
    QRect grammarPane;      ///< 1023
    QRect verticalSplitter; ///< between the list and the right column
    QRect lowerSplitter;    ///< between the current-sentence and the grammar pane
    QRect upperSplitter;    ///< between the whole-sentence and the current-sentence pane
    /// The client area below L, where a right click opens the client menu.
    QRect bottomBar;

    bool listShown = false;
    bool wholeShown = false;
    bool grammarShown = false;
    /// Status line, buttons, captions and drop-down lists.
    bool controlsShown = false;
};

/// `LayoutPanes` arithmetic: every rectangle of the main window for a client area of `client`.
PaneLayout LayoutPanes(QSize client, const PaneState& state);

/// The smallest client area in which every control stays usable: the bottom bar's two groups of
/// controls side by side without overlapping, room for the volume popup, and panes tall enough
/// that the default proportions leave the current-sentence pane the height a splitter drag
/// leaves it.
QSize MinimumClientSize();

/// First pixel right of `rect`.
inline int RightOf(const QRect& rect)
{
    return rect.x() + rect.width();
}
/// First pixel below `rect`.
inline int BottomOf(const QRect& rect)
{
    return rect.y() + rect.height();
}
/// The rectangle with these four edges; empty when right ≤ left or bottom ≤ top.
QRect Edges(int left, int top, int right, int bottom);

// Pane toggles. Each flips its flag; the caller lays out again unless the view is full screen.
// Showing a pane again first corrects the proportions so that the current-sentence pane keeps a
// height of at least 30.
void ToggleListPane(PaneState& state);
void ToggleWholePane(PaneState& state, QSize client);
void ToggleGrammarPane(PaneState& state, QSize client);
void ToggleFullScreen(PaneState& state);

/// The hidden pane whose edge strip the pointer is on.
enum class EdgeStrip
{
    None,
    List,
    Grammar,
    Whole,
};

/// Which hidden pane a pointer at `point` brings back: the strip at the list area's left edge,
/// the left half of the strip just above the grammar pane's bottom, or the strip at the whole
/// pane's top. Nothing in the full-screen view; the caller skips the test while dragging.
EdgeStrip EdgeStripAt(const PaneLayout& layout, QPoint point);

/// The three splitter drags.
enum class DragKind
{
    None = 0,
    List = 1,  ///< the vertical splitter right of the list
    Lower = 2, ///< between the current-sentence and the grammar pane
    Upper = 3, ///< between the whole-sentence and the current-sentence pane
};

/// The drag a mouse press at `point` starts.
DragKind SplitterAt(const PaneLayout& layout, QPoint point);

/// Where the drag line may follow the pointer.
QRect DragLimits(const PaneLayout& layout, DragKind kind);

/// The line drawn while dragging with the pointer at `point`: vertical over the list area's
/// height for the list splitter, horizontal across the right column for the others.
QLine DragLine(const PaneLayout& layout, DragKind kind, QPoint point);

/// A drop point clamped to the limits on the dragged axis alone: x for the list splitter, y for
/// the others. The other coordinate is kept as it is.
QPoint ClampDrop(const PaneLayout& layout, DragKind kind, QPoint point);

/// Stores the proportion a drop at `point` (already clamped) gives.
void ApplyDrop(PaneState& state, const PaneLayout& layout, DragKind kind, QPoint point);

/// The sizing cursor over a splitter, or the arrow.
Qt::CursorShape SplitterCursor(const PaneLayout& layout, QPoint point);

} // namespace lectoria::ui
