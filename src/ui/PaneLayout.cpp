#include "PaneLayout.h"

#include <algorithm>

namespace lectoria::ui {

using namespace layout;

namespace {

// The proportions are floats and the products are taken in float, then truncated: a double
// product can land just below a whole number that the float product reaches (800 × 0.2375f).
int ScaledLength(int length, float scale)
{
    return static_cast<int>(static_cast<float>(length) * scale);
}

float Proportion(int part, int whole)
{
    return static_cast<float>(part) / static_cast<float>(whole);
}

bool Inside(const QRect& rect, QPoint point)
{
    return point.x() >= rect.x() && point.x() < RightOf(rect) && point.y() >= rect.y() && point.y() < BottomOf(rect);
}

} // namespace

QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right > left ? right - left : 0, bottom > top ? bottom - top : 0);
}

PaneLayout LayoutPanes(QSize client, const PaneState& state)
{
    const int width = client.width();
    const int height = client.height();
    PaneLayout result;
    result.client = QRect(0, 0, width, height);

    // Only the first two mode buttons are in use; the other five keep empty rectangles.
    for (int i = 0; i < 2; ++i) {
        const int left = kMargin + kModeButtonStep * i;
        result.modeButtons[static_cast<std::size_t>(i)] =
            Edges(left, height - 2 - kModeButtonSize, left + kModeButtonSize, height - 2);
    }

    const int exitRight = width - kMargin;
    const int exitBottom = height - kMargin;
    result.exitButton = Edges(exitRight - kReadingButtonSize, exitBottom - kReadingButtonSize, exitRight, exitBottom);

    const int listBottom = height - 16;
    const int intervalRight = exitRight - kReadingButtonSize - kSmallGap;
    const int repeatRight = intervalRight - kDropDownStep;
    result.intervalList =
        Edges(intervalRight - kDropDownWidth, listBottom - kDropDownHeight, intervalRight, listBottom);
    result.repeatList = Edges(repeatRight - kDropDownWidth, listBottom - kDropDownHeight, repeatRight, listBottom);

    const int captionBottom = height - 14;
    const int intervalCaptionRight = intervalRight - kDropDownWidth - kSmallGap;
    const int repeatCaptionRight = repeatRight - kDropDownWidth - kSmallGap;
    result.intervalCaption =
        Edges(intervalCaptionRight - kCaptionSize, captionBottom - kCaptionSize, intervalCaptionRight, captionBottom);
    result.repeatCaption =
        Edges(repeatCaptionRight - kCaptionSize, captionBottom - kCaptionSize, repeatCaptionRight, captionBottom);

    const int speedRight = repeatCaptionRight - kCaptionSize - kSmallGap;
    result.speedList = Edges(speedRight - kSpeedListWidth, listBottom - kDropDownHeight, speedRight, listBottom);
    const int speedCaptionRight = speedRight - kSpeedListWidth - kSmallGap;
    result.speedCaption =
        Edges(speedCaptionRight - kCaptionSize, captionBottom - kCaptionSize, speedCaptionRight, captionBottom);

    const int readingBottom = height - kMargin;
    const int shadowRight = speedCaptionRight - kCaptionSize - kSmallGap;
    result.shadowButton =
        Edges(shadowRight - kReadingButtonSize, readingBottom - kReadingButtonSize, shadowRight, readingBottom);
    const int firstReadingRight = shadowRight - kReadingButtonStep;
    for (int i = 5; i >= 0; --i) {
        const int right = firstReadingRight - (5 - i) * kReadingButtonStep;
        result.readingButtons[static_cast<std::size_t>(i)] =
            Edges(right - kReadingButtonSize, readingBottom - kReadingButtonSize, right, readingBottom);
    }
    const QRect& volume = result.readingButtons[5];
    result.volumeArea = Edges(volume.x(), volume.y() - kVolumeAreaHeight, RightOf(volume), volume.y());

    result.statusLine = Edges(kMargin, 5, width - kMargin, 5 + kStatusHeight);

    const int top = kStatusHeight + kMargin;
    const int bottom = height - kBottomBarHeight;
    const int listRight = kMargin + ScaledLength(width - 2 * kMargin, state.fListRightScale);
    result.listArea = Edges(kMargin, top, listRight, bottom);
    result.bottomBar = Edges(0, bottom, width, height);

    const int paneHeight = bottom - top;
    result.paneHeight = paneHeight;
    const int wholeHeight = ScaledLength(paneHeight, state.fWholeBottomScale);
    const int grammarHeight = ScaledLength(paneHeight, state.fGrammarTopScale);

    const int columnLeft = state.showList ? listRight + kPaneGap : kMargin;
    const int columnRight = width - kMargin;
    result.rightColumn = Edges(columnLeft, top, columnRight, bottom);
    const int wholeBottom = top + wholeHeight;
    const int grammarTop = bottom - grammarHeight;
    result.wholePane = Edges(columnLeft, top, columnRight, wholeBottom);
    result.grammarPane = Edges(columnLeft, grammarTop, columnRight, bottom);
    const int currentTop = state.showWhole ? wholeBottom + kPaneGap : top;
    const int currentBottom = state.showGrammar ? grammarTop - kPaneGap : bottom;
    result.currentPane = Edges(columnLeft, currentTop, columnRight, currentBottom);

    // A hidden pane leaves its splitter inverted, which makes it empty.
    result.verticalSplitter = Edges(listRight, top, columnLeft, bottom);
    result.lowerSplitter = Edges(columnLeft, currentBottom, columnRight, grammarTop);
    result.upperSplitter = Edges(columnLeft, wholeBottom, columnRight, currentTop);

    if (state.isFullScreen) {
        result.fullScreen = true;
        result.currentPane = result.client;
        return result;
    }
    result.listShown = state.showList;
    result.wholeShown = state.showWhole;
    result.grammarShown = state.showGrammar;
    result.controlsShown = true;
    return result;
}

QSize MinimumClientSize()
{
    const int modeButtonsRight = kMargin + kModeButtonStep + kModeButtonSize;
    // From the start button's left edge to the client's right edge, as LayoutPanes places them.
    const int readingGroup = kMargin + kReadingButtonSize + kSmallGap + kDropDownStep + kDropDownWidth + kSmallGap +
                             kCaptionSize + kSmallGap + kSpeedListWidth + kSmallGap + kCaptionSize + kSmallGap +
                             6 * kReadingButtonStep + kReadingButtonSize;
    const int width = modeButtonsRight + kSmallGap + readingGroup;

    const int top = kStatusHeight + kMargin;
    const PaneState defaults;
    int paneHeight = 0;
    while (LayoutPanes(QSize(width, top + paneHeight + kBottomBarHeight), defaults).currentPane.height() <
           kPaneDragLimit) {
        ++paneHeight;
    }
    const int volumeBottom = kMargin + kReadingButtonSize + kVolumeAreaHeight;
    return QSize(width, std::max(top + paneHeight + kBottomBarHeight, volumeBottom));
}

void ToggleListPane(PaneState& state)
{
    state.showList = !state.showList;
}

void ToggleWholePane(PaneState& state, QSize client)
{
    if (!state.showWhole) {
        const PaneLayout current = LayoutPanes(client, state);
        const int wholeBottom = BottomOf(current.wholePane);
        const int lowest = wholeBottom + 2 * kPaneGap + kPaneDragLimit;
        if (current.paneHeight > 0 && current.grammarPane.y() < lowest) {
            state.fGrammarTopScale = Proportion(BottomOf(current.listArea) - lowest, current.paneHeight);
        }
    }
    state.showWhole = !state.showWhole;
}

void ToggleGrammarPane(PaneState& state, QSize client)
{
    if (!state.showGrammar) {
        const PaneLayout current = LayoutPanes(client, state);
        const int highest = current.grammarPane.y() - 2 * kPaneGap - kPaneDragLimit;
        if (current.paneHeight > 0 && highest < BottomOf(current.wholePane)) {
            state.fWholeBottomScale = Proportion(highest - current.listArea.y(), current.paneHeight);
        }
    }
    state.showGrammar = !state.showGrammar;
}

void ToggleFullScreen(PaneState& state)
{
    state.isFullScreen = !state.isFullScreen;
}

EdgeStrip EdgeStripAt(const PaneLayout& layout, QPoint point)
{
    if (layout.fullScreen) {
        return EdgeStrip::None;
    }
    const QRect& list = layout.listArea;
    if (!layout.listShown && Inside(Edges(list.x(), list.y(), list.x() + kEdgeStrip, BottomOf(list)), point)) {
        return EdgeStrip::List;
    }
    const QRect& grammar = layout.grammarPane;
    if (!layout.grammarShown &&
        Inside(Edges(grammar.x(), BottomOf(grammar) - kEdgeStrip, grammar.x() + grammar.width() / 2, BottomOf(grammar)),
               point)) {
        return EdgeStrip::Grammar;
    }
    const QRect& whole = layout.wholePane;
    if (!layout.wholeShown && Inside(Edges(whole.x(), whole.y(), RightOf(whole), whole.y() + kEdgeStrip), point)) {
        return EdgeStrip::Whole;
    }
    return EdgeStrip::None;
}

DragKind SplitterAt(const PaneLayout& layout, QPoint point)
{
    if (layout.fullScreen) {
        return DragKind::None;
    }
    if (Inside(layout.verticalSplitter, point)) {
        return DragKind::List;
    }
    if (Inside(layout.lowerSplitter, point)) {
        return DragKind::Lower;
    }
    if (Inside(layout.upperSplitter, point)) {
        return DragKind::Upper;
    }
    return DragKind::None;
}

QRect DragLimits(const PaneLayout& layout, DragKind kind)
{
    const QRect& list = layout.listArea;
    const QRect& grammar = layout.grammarPane;
    const QRect& current = layout.currentPane;
    switch (kind) {
    case DragKind::List:
        return Edges(list.x() + kListDragLimit, list.y(), RightOf(grammar) - kListDragLimit, BottomOf(grammar));
    case DragKind::Lower:
        return Edges(current.x(), current.y() + kPaneDragLimit, RightOf(grammar), BottomOf(grammar) - kPaneDragLimit);
    case DragKind::Upper:
        return Edges(layout.wholePane.x(), layout.wholePane.y() + kPaneDragLimit, RightOf(current),
                     BottomOf(current) - kPaneDragLimit);
    case DragKind::None:
        break;
    }
    return QRect();
}

QLine DragLine(const PaneLayout& layout, DragKind kind, QPoint point)
{
    if (kind == DragKind::List) {
        return QLine(point.x(), layout.listArea.y(), point.x(), BottomOf(layout.listArea));
    }
    return QLine(layout.rightColumn.x(), point.y(), RightOf(layout.rightColumn), point.y());
}

QPoint ClampDrop(const PaneLayout& layout, DragKind kind, QPoint point)
{
    // Only the dragged axis is limited: a pointer that drifts off the panes sideways (or above or
    // below them for the list splitter) still drops where it stands on that axis.
    const QRect limits = DragLimits(layout, kind);
    switch (kind) {
    case DragKind::List:
        return QPoint(std::clamp(point.x(), limits.x(), RightOf(limits)), point.y());
    case DragKind::Lower:
    case DragKind::Upper:
        return QPoint(point.x(), std::clamp(point.y(), limits.y(), BottomOf(limits)));
    case DragKind::None:
        break;
    }
    return point;
}

void ApplyDrop(PaneState& state, const PaneLayout& layout, DragKind kind, QPoint point)
{
    const QRect& list = layout.listArea;
    const int height = layout.paneHeight;
    switch (kind) {
    case DragKind::List: {
        const int span = layout.client.width() - kMargin - list.x();
        if (span > 0) {
            state.fListRightScale = Proportion(point.x() - list.x(), span);
        }
        break;
    }
    case DragKind::Lower:
        if (height > 0) {
            state.fGrammarTopScale = Proportion(BottomOf(list) - point.y(), height);
        }
        break;
    case DragKind::Upper:
        if (height > 0) {
            state.fWholeBottomScale = Proportion(point.y() - list.y(), height);
        }
        break;
    case DragKind::None:
        break;
    }
}

Qt::CursorShape SplitterCursor(const PaneLayout& layout, QPoint point)
{
    switch (SplitterAt(layout, point)) {
    case DragKind::List:
        return Qt::SizeHorCursor;
    case DragKind::Lower:
    case DragKind::Upper:
        return Qt::SizeVerCursor;
    case DragKind::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace lectoria::ui
