// The main window's geometry: every rectangle of the layout, the pane toggles, the edge strips,
// the splitter drags, and the inverting band a drag draws.
#include "PaneLayout.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include "HalftoneBand.h"

using namespace lectoria::ui;

namespace {

constexpr QSize kClient(1000, 680);

// In a 1000 × 680 client with the default proportions: L runs from 22 to 628 (H = 606), the
// whole pane takes int(606 × 0.15) = 90, the grammar pane int(606 × 0.75) = 454.
TEST(PaneLayoutTest, NormalViewPlacesEveryControl)
{
    const PaneLayout layout = LayoutPanes(kClient, PaneState{});
    struct Case
    {
        const char* name;
        QRect actual;
        QRect expected;
    };
    const Case cases[] = {
        {"mode button 1010", layout.modeButtons[0], Edges(10, 630, 58, 678)},
        {"mode button 1011", layout.modeButtons[1], Edges(61, 630, 109, 678)},
        {"exit 1088", layout.exitButton, Edges(958, 638, 990, 670)},
        {"interval list 1080", layout.intervalList, Edges(915, 644, 955, 664)},
        {"repeat list 1079", layout.repeatList, Edges(842, 644, 882, 664)},
        {"interval caption 1078", layout.intervalCaption, Edges(888, 642, 912, 666)},
        {"repeat caption 1077", layout.repeatCaption, Edges(815, 642, 839, 666)},
        {"speed list", layout.speedList, Edges(748, 644, 812, 664)},
        {"speed caption", layout.speedCaption, Edges(721, 642, 745, 666)},
        {"shadowing switch", layout.shadowButton, Edges(686, 638, 718, 670)},
        {"start 1082", layout.readingButtons[0], Edges(476, 638, 508, 670)},
        {"pause 1083", layout.readingButtons[1], Edges(511, 638, 543, 670)},
        {"stop 1084", layout.readingButtons[2], Edges(546, 638, 578, 670)},
        {"previous 1085", layout.readingButtons[3], Edges(581, 638, 613, 670)},
        {"next 1086", layout.readingButtons[4], Edges(616, 638, 648, 670)},
        {"volume 1087", layout.readingButtons[5], Edges(651, 638, 683, 670)},
        {"volume area", layout.volumeArea, Edges(651, 518, 683, 638)},
        {"status line", layout.statusLine, Edges(10, 5, 990, 17)},
        {"list area", layout.listArea, Edges(10, 22, 255, 628)},
        {"right column", layout.rightColumn, Edges(259, 22, 990, 628)},
        {"whole pane", layout.wholePane, Edges(259, 22, 990, 112)},
        {"current pane", layout.currentPane, Edges(259, 116, 990, 170)},
        {"grammar pane", layout.grammarPane, Edges(259, 174, 990, 628)},
        {"vertical splitter", layout.verticalSplitter, Edges(255, 22, 259, 628)},
        {"upper splitter", layout.upperSplitter, Edges(259, 112, 990, 116)},
        {"lower splitter", layout.lowerSplitter, Edges(259, 170, 990, 174)},
        {"bottom bar", layout.bottomBar, Edges(0, 628, 1000, 680)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
    for (std::size_t hidden = 2; hidden < layout.modeButtons.size(); ++hidden) {
        EXPECT_TRUE(layout.modeButtons[hidden].isEmpty()) << "mode button " << 1010 + hidden;
    }
    EXPECT_EQ(layout.paneHeight, 606);
    EXPECT_TRUE(layout.listShown && layout.wholeShown && layout.grammarShown && layout.controlsShown);
}

TEST(PaneLayoutTest, DefaultProportionsLeaveTheCurrentPaneTheRestLessTheGaps)
{
    struct Case
    {
        QSize client;
        int whole;   // 15 % of H, integer part
        int grammar; // 75 % of H, integer part
    };
    // H = height − 74.
    const Case cases[] = {
        {{1000, 680}, 90, 454}, {{820, 600}, 78, 394}, {{640, 274}, 30, 150}, {{700, 1074}, 150, 750}};
    for (const Case& c : cases) {
        const PaneLayout layout = LayoutPanes(c.client, PaneState{});
        const int paneHeight = c.client.height() - 74;
        EXPECT_EQ(layout.paneHeight, paneHeight);
        EXPECT_EQ(layout.wholePane.height(), c.whole) << c.client.height();
        EXPECT_EQ(layout.grammarPane.height(), c.grammar) << c.client.height();
        EXPECT_EQ(layout.currentPane.height(), paneHeight - c.whole - c.grammar - 8) << c.client.height();
    }
}

TEST(PaneLayoutTest, HiddenPanesGiveTheirRoomToTheOthers)
{
    PaneState state;
    state.showList = false;
    state.showWhole = false;
    state.showGrammar = false;
    const PaneLayout layout = LayoutPanes(kClient, state);
    EXPECT_EQ(layout.rightColumn, Edges(10, 22, 990, 628));
    EXPECT_EQ(layout.currentPane, Edges(10, 22, 990, 628));
    EXPECT_FALSE(layout.listShown || layout.wholeShown || layout.grammarShown);
    // A hidden pane's splitter is empty, so no drag can start there.
    EXPECT_TRUE(layout.verticalSplitter.isEmpty());
    EXPECT_TRUE(layout.upperSplitter.isEmpty());
    EXPECT_TRUE(layout.lowerSplitter.isEmpty());
}

TEST(PaneLayoutTest, FullScreenShowsOnlyTheCurrentPaneAndToggleChangesOnlyTheFlag)
{
    PaneState state;
    state.isFullScreen = true;
    const PaneLayout before = LayoutPanes(kClient, state);
    EXPECT_EQ(before.currentPane, QRect(0, 0, 1000, 680));
    EXPECT_FALSE(before.listShown || before.wholeShown || before.grammarShown || before.controlsShown);

    // F5 in the full-screen view: the flag flips, the view stays as it was.
    ToggleListPane(state);
    EXPECT_FALSE(state.showList);
    const PaneLayout after = LayoutPanes(kClient, state);
    EXPECT_EQ(after.currentPane, before.currentPane);
    EXPECT_FALSE(after.listShown || after.controlsShown);

    // Leaving the full-screen view shows the new state.
    ToggleFullScreen(state);
    const PaneLayout normal = LayoutPanes(kClient, state);
    EXPECT_FALSE(normal.listShown);
    EXPECT_TRUE(normal.controlsShown && normal.wholeShown && normal.grammarShown);
    EXPECT_EQ(normal.currentPane, Edges(10, 116, 990, 170));
}

TEST(PaneLayoutTest, ShowingAPaneAgainKeepsTheCurrentPaneAtLeast30High)
{
    // Whole pane back while the grammar pane reaches up to 53: the grammar pane shrinks so that
    // its top is 2 × 4 + 30 below the whole pane's bottom (112 + 38 = 150).
    PaneState state;
    state.showWhole = false;
    state.fGrammarTopScale = 0.95f;
    ToggleWholePane(state, kClient);
    EXPECT_TRUE(state.showWhole);
    EXPECT_FLOAT_EQ(state.fGrammarTopScale, 478.0f / 606.0f);
    PaneLayout layout = LayoutPanes(kClient, state);
    EXPECT_EQ(layout.grammarPane.y(), 150);
    EXPECT_EQ(layout.currentPane.height(), 30);

    // Grammar pane back under a whole pane reaching down to 567: the whole pane shrinks so that
    // its bottom is 38 above the grammar pane's top (174 − 38 = 136).
    state = PaneState{};
    state.showGrammar = false;
    state.fWholeBottomScale = 0.9f;
    ToggleGrammarPane(state, kClient);
    EXPECT_TRUE(state.showGrammar);
    EXPECT_FLOAT_EQ(state.fWholeBottomScale, 114.0f / 606.0f);
    layout = LayoutPanes(kClient, state);
    EXPECT_EQ(BottomOf(layout.wholePane), 136);
    EXPECT_EQ(layout.currentPane.height(), 30);

    // With room enough, showing a pane leaves the proportions alone; hiding never changes them.
    state = PaneState{};
    state.showWhole = false;
    state.showGrammar = false;
    ToggleWholePane(state, kClient);
    ToggleGrammarPane(state, kClient);
    ToggleGrammarPane(state, kClient);
    EXPECT_FLOAT_EQ(state.fGrammarTopScale, 0.75f);
    EXPECT_FLOAT_EQ(state.fWholeBottomScale, 0.15f);
}

TEST(PaneLayoutTest, EdgeStripsBringBackHiddenPanes)
{
    PaneState hidden;
    hidden.showList = false;
    hidden.showWhole = false;
    hidden.showGrammar = false;
    const PaneLayout allHidden = LayoutPanes(kClient, hidden);
    const PaneLayout allShown = LayoutPanes(kClient, PaneState{});
    PaneState fullScreen = hidden;
    fullScreen.isFullScreen = true;
    const PaneLayout full = LayoutPanes(kClient, fullScreen);
    // The right column spans 10 … 990 with every pane hidden; L runs from 22 to 628.
    struct Case
    {
        const PaneLayout* layout;
        QPoint point;
        EdgeStrip expected;
    };
    const Case cases[] = {
        {&allHidden, {12, 300}, EdgeStrip::List},     {&allHidden, {15, 300}, EdgeStrip::None},
        {&allHidden, {300, 623}, EdgeStrip::Grammar}, // just above L's bottom, left half
        {&allHidden, {300, 627}, EdgeStrip::Grammar}, {&allHidden, {300, 622}, EdgeStrip::None}, // six above the bottom
        {&allHidden, {499, 625}, EdgeStrip::Grammar}, // last pixel of the left half
        {&allHidden, {500, 625}, EdgeStrip::None},    // right half
        {&allHidden, {300, 628}, EdgeStrip::None},    // below L
        {&allHidden, {600, 22}, EdgeStrip::Whole},    {&allHidden, {600, 26}, EdgeStrip::Whole},
        {&allHidden, {600, 27}, EdgeStrip::None},     {&allShown, {12, 300}, EdgeStrip::None},
        {&allShown, {300, 625}, EdgeStrip::None},     {&allShown, {600, 24}, EdgeStrip::None},
        {&full, {12, 300}, EdgeStrip::None},          {&full, {300, 625}, EdgeStrip::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EdgeStripAt(*c.layout, c.point), c.expected) << c.point.x() << "," << c.point.y();
    }
}

TEST(PaneLayoutTest, SplittersStartTheirDragsAndSetTheCursor)
{
    const PaneLayout layout = LayoutPanes(kClient, PaneState{});
    struct Case
    {
        QPoint point;
        DragKind kind;
        Qt::CursorShape cursor;
    };
    const Case cases[] = {
        {{255, 300}, DragKind::List, Qt::SizeHorCursor},  {{258, 22}, DragKind::List, Qt::SizeHorCursor},
        {{259, 300}, DragKind::None, Qt::ArrowCursor},    {{600, 171}, DragKind::Lower, Qt::SizeVerCursor},
        {{600, 113}, DragKind::Upper, Qt::SizeVerCursor}, {{600, 140}, DragKind::None, Qt::ArrowCursor},
        {{989, 173}, DragKind::Lower, Qt::SizeVerCursor}, {{990, 173}, DragKind::None, Qt::ArrowCursor},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitterAt(layout, c.point), c.kind) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(SplitterCursor(layout, c.point), c.cursor) << c.point.x() << "," << c.point.y();
    }
    PaneState full;
    full.isFullScreen = true;
    EXPECT_EQ(SplitterAt(LayoutPanes(kClient, full), QPoint(255, 300)), DragKind::None);
}

TEST(PaneLayoutTest, DragLinesAndLimits)
{
    const PaneLayout layout = LayoutPanes(kClient, PaneState{});
    // The list splitter keeps 20 from L's left and the grammar pane's right; the others keep 30
    // from the far edges of the two panes they divide.
    EXPECT_EQ(DragLimits(layout, DragKind::List), Edges(30, 22, 970, 628));
    EXPECT_EQ(DragLimits(layout, DragKind::Lower), Edges(259, 146, 990, 598));
    EXPECT_EQ(DragLimits(layout, DragKind::Upper), Edges(259, 52, 990, 140));
    EXPECT_EQ(DragLine(layout, DragKind::List, QPoint(300, 400)), QLine(300, 22, 300, 628));
    EXPECT_EQ(DragLine(layout, DragKind::Lower, QPoint(300, 400)), QLine(259, 400, 990, 400));
    EXPECT_EQ(DragLine(layout, DragKind::Upper, QPoint(300, 80)), QLine(259, 80, 990, 80));
}

TEST(PaneLayoutTest, ListSplitterDroppedAt200In820StoresItsProportion)
{
    const QSize client(820, 600);
    PaneState state;
    const PaneLayout layout = LayoutPanes(client, state);
    const QPoint press(RightOf(layout.listArea), 300);
    ASSERT_EQ(SplitterAt(layout, press), DragKind::List);
    const QPoint drop = ClampDrop(layout, DragKind::List, QPoint(200, 300));
    EXPECT_EQ(drop, QPoint(200, 300));
    ApplyDrop(state, layout, DragKind::List, drop);
    EXPECT_FLOAT_EQ(state.fListRightScale, 0.2375f);
    // 800 × 0.2375 lands on 190 only in float arithmetic; in double it falls to 189.999…
    const PaneLayout after = LayoutPanes(client, state);
    EXPECT_EQ(RightOf(after.listArea), 200);
    EXPECT_EQ(after.rightColumn.x(), 204);
}

TEST(PaneLayoutTest, DropsAreClampedOnTheDraggedAxisOnly)
{
    const PaneLayout layout = LayoutPanes(kClient, PaneState{});
    struct Case
    {
        DragKind kind;
        QPoint drop;
        QPoint expected;
    };
    const Case cases[] = {
        {DragKind::List, {400, 300}, {400, 300}},
        {DragKind::List, {25, 300}, {30, 300}},
        {DragKind::List, {995, 300}, {970, 300}},
        // A pointer that drifts above or below the panes still drops where it stands across.
        {DragKind::List, {400, 650}, {400, 650}},
        {DragKind::List, {600, 5}, {600, 5}},
        {DragKind::List, {10, 650}, {30, 650}},
        {DragKind::Lower, {500, 620}, {500, 598}},
        {DragKind::Lower, {500, 120}, {500, 146}},
        // Drifted over the list, or past the window's right edge, at a height inside the limits.
        {DragKind::Lower, {100, 400}, {100, 400}},
        {DragKind::Lower, {995, 400}, {995, 400}},
        {DragKind::Lower, {100, 640}, {100, 598}},
        {DragKind::Upper, {500, 30}, {500, 52}},
        {DragKind::Upper, {500, 160}, {500, 140}},
        {DragKind::Upper, {500, 100}, {500, 100}},
        {DragKind::Upper, {100, 100}, {100, 100}},
        {DragKind::None, {100, 100}, {100, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClampDrop(layout, c.kind, c.drop), c.expected)
            << static_cast<int>(c.kind) << " at " << c.drop.x() << "," << c.drop.y();
    }
}

TEST(PaneLayoutTest, HorizontalDropsAtTheLimitsStand30FromTheFarEdges)
{
    const PaneLayout layout = LayoutPanes(kClient, PaneState{});

    PaneState lower;
    ApplyDrop(lower, layout, DragKind::Lower, ClampDrop(layout, DragKind::Lower, QPoint(500, 640)));
    EXPECT_FLOAT_EQ(lower.fGrammarTopScale, 30.0f / 606.0f);
    EXPECT_EQ(LayoutPanes(kClient, lower).grammarPane, Edges(259, 598, 990, 628));

    PaneState upper;
    ApplyDrop(upper, layout, DragKind::Upper, ClampDrop(layout, DragKind::Upper, QPoint(500, 0)));
    EXPECT_FLOAT_EQ(upper.fWholeBottomScale, 30.0f / 606.0f);
    EXPECT_EQ(LayoutPanes(kClient, upper).wholePane, Edges(259, 22, 990, 52));

    // The lower splitter's top limit is 30 below the current pane's top.
    PaneState raised;
    ApplyDrop(raised, layout, DragKind::Lower, ClampDrop(layout, DragKind::Lower, QPoint(500, 60)));
    EXPECT_EQ(LayoutPanes(kClient, raised).grammarPane.y(), 146);
}

QRgb Inverse(QRgb pixel)
{
    return qRgb(255 - qRed(pixel), 255 - qGreen(pixel), 255 - qBlue(pixel));
}

TEST(HalftoneBandTest, BandIsFourPixelsAcrossTheLine)
{
    EXPECT_EQ(HalftoneBand::BandRect(QLine(50, 10, 50, 90)), Edges(48, 10, 52, 90));
    EXPECT_EQ(HalftoneBand::BandRect(QLine(5, 40, 95, 40)), Edges(5, 38, 95, 42));
}

TEST(HalftoneBandTest, InvertsEveryOtherPixelAndErasesWithoutATrace)
{
    QWidget parent;
    parent.resize(120, 100);
    QPalette palette = parent.palette();
    const QColor background(10, 200, 40);
    palette.setColor(QPalette::Window, background);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    HalftoneBand band(&parent);

    band.ShowLine(QLine(50, 10, 50, 90));
    const QImage drawn = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb plain = background.rgb();
    for (int y = 10; y < 90; ++y) {
        int inverted = 0;
        for (int x = 48; x < 52; ++x) {
            const QRgb pixel = drawn.pixel(x, y);
            ASSERT_TRUE(pixel == plain || pixel == Inverse(plain)) << x << "," << y;
            inverted += pixel == Inverse(plain) ? 1 : 0;
            if (x > 48) {
                // A checkerboard: neighbours always differ.
                EXPECT_NE(pixel, drawn.pixel(x - 1, y)) << x << "," << y;
            }
        }
        EXPECT_EQ(inverted, 2) << y;
    }
    EXPECT_EQ(drawn.pixel(47, 50), plain);
    EXPECT_EQ(drawn.pixel(52, 50), plain);
    EXPECT_EQ(drawn.pixel(50, 9), plain);
    EXPECT_EQ(drawn.pixel(50, 90), plain);

    band.ShowLine(QLine(10, 60, 110, 60));
    const QImage moved = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(moved.pixel(49, 30), plain);
    EXPECT_EQ(moved.pixel(50, 30), plain);

    band.HideLine();
    EXPECT_TRUE(band.band().isEmpty());
    const QImage erased = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < erased.height(); ++y) {
        for (int x = 0; x < erased.width(); ++x) {
            ASSERT_EQ(erased.pixel(x, y), plain) << x << "," << y;
        }
    }
}

} // namespace
