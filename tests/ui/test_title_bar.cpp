// The window's own decorations: the title strip, edge resizing, the flat buttons with their
// colours and icons, and the about box with its help page.
#include "TitleBar.h"
#include "WindowCommands.h"

#include <vector>

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "ButtonStyle.h"
#include "FramelessResizer.h"
#include "HelpDialog.h"
#include "IconDrawing.h"

using namespace lectoria;
using namespace lectoria::ui;

namespace {

const settings::Rgb kTitleText{255, 0, 0};
const settings::Rgb kTitleBackground{1, 83, 173};

int CountPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

QImage Grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

class TitleBarTest : public testing::Test
{
protected:
    TitleBarTest()
    {
        m_window.resize(640, 300);
        auto* layout = new QVBoxLayout(&m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        m_bar = new TitleBar(&m_window);
        layout->addWidget(m_bar);
        layout->addStretch(1);
        m_window.show();
    }

    QWidget m_window;
    TitleBar* m_bar = nullptr;
};

TEST_F(TitleBarTest, HelpLabelClickAsksForHelp)
{
    QSignalSpy help(m_bar, &TitleBar::helpRequested);
    const QRect label = m_bar->helpLabelRect();
    EXPECT_NEAR(label.center().x(), m_bar->width() / 2, 1);
    QTest::mouseMove(m_bar, label.center());
    EXPECT_TRUE(m_bar->isOverHelpLabel());
    EXPECT_EQ(m_bar->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, label.center());
    EXPECT_EQ(help.count(), 1);

    QTest::mouseMove(m_bar, QPoint(label.left() - 20, 20));
    EXPECT_FALSE(m_bar->isOverHelpLabel());
    EXPECT_NE(m_bar->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, QPoint(label.left() - 20, 20));
    EXPECT_EQ(help.count(), 1);
}

TEST_F(TitleBarTest, IconClickAndRightClickOpenTheSystemMenu)
{
    QSignalSpy menu(m_bar, &TitleBar::systemMenuRequested);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, m_bar->iconRect().center());
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), m_bar->mapToGlobal(m_bar->iconRect().bottomLeft() + QPoint(0, 1)));
    QTest::mouseClick(m_bar, Qt::RightButton, {}, QPoint(200, 16));
    ASSERT_EQ(menu.count(), 2);
    EXPECT_EQ(menu.at(1).at(0).toPoint(), m_bar->mapToGlobal(QPoint(200, 16)));
}

TEST_F(TitleBarTest, PaintsInTitleColoursOrInThePaletteWithTheHelpLabelInEntryZero)
{
    const QRgb text = qRgb(kTitleText.red, kTitleText.green, kTitleText.blue);
    m_bar->SetColors(true, kTitleText, kTitleBackground);
    QImage image = Grab(*m_bar);
    EXPECT_EQ(image.pixel(m_bar->width() / 3, 1), qRgb(1, 83, 173));
    EXPECT_GT(CountPixels(image, m_bar->helpLabelRect(), text), 10);

    m_bar->SetColors(false, kTitleText, kTitleBackground);
    image = Grab(*m_bar);
    EXPECT_EQ(image.pixel(m_bar->width() / 3, 1), m_bar->palette().color(QPalette::Window).rgb());
    EXPECT_GT(CountPixels(image, m_bar->helpLabelRect(), text), 10);

    // Under the pointer the label turns to the inverse of entry 0.
    QTest::mouseMove(m_bar, m_bar->helpLabelRect().center());
    image = Grab(*m_bar);
    EXPECT_EQ(CountPixels(image, m_bar->helpLabelRect(), text), 0);
    EXPECT_GT(CountPixels(image, m_bar->helpLabelRect(), qRgb(0, 255, 255)), 10);
}

TEST_F(TitleBarTest, ButtonsSitOnTheirPitchAndCloseClosesTheWindow)
{
    const int right = m_bar->width() - 4 - 12;
    EXPECT_EQ(m_bar->buttonRect(TitleBar::Close).center().x(), right - 1);
    EXPECT_EQ(m_bar->buttonRect(TitleBar::Maximize).center().x(), right - 23 - 1);
    EXPECT_EQ(m_bar->buttonRect(TitleBar::Minimize).center().x(), right - 46 - 1);
    QTest::mouseClick(m_bar, Qt::LeftButton, {}, m_bar->buttonRect(TitleBar::Close).center());
    EXPECT_FALSE(m_window.isVisible());
}

TEST(SystemMenuTest, HoldsTheWindowCommandsThenTheFourItemsThenClose)
{
    QWidget owner;
    WindowCommands commands(&owner);
    std::unique_ptr<QMenu> menu(commands.CreateSystemMenu(&owner));
    std::vector<std::pair<int, QString>> items;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            items.emplace_back(action->data().toInt(), action->text());
        }
    }
    const std::vector<std::pair<int, QString>> expected = {
        {0xF120, QStringLiteral("还原(&R)")},         {0xF010, QStringLiteral("移动(&M)")},
        {0xF000, QStringLiteral("大小(&S)")},         {0xF020, QStringLiteral("最小化(&N)")},
        {0xF030, QStringLiteral("最大化(&X)")},       {1202, QStringLiteral("取消标题栏颜色(&Q)")},
        {1203, QStringLiteral("设置标题栏颜色(&C)")}, {1201, QStringLiteral("全屏显示开关(&F)       F8")},
        {1204, QStringLiteral("帮助系统")},           {0xF060, QStringLiteral("关闭(&C)\tAlt+F4")},
    };
    EXPECT_EQ(items, expected);
    // Separators stand between the three groups.
    EXPECT_TRUE(menu->actions().at(5)->isSeparator());
    EXPECT_TRUE(menu->actions().at(10)->isSeparator());

    // A window that cannot change its size offers neither Size nor Maximise.
    owner.setFixedSize(300, 200);
    std::unique_ptr<QMenu> fixed(commands.CreateSystemMenu(&owner));
    for (QAction* action : fixed->actions()) {
        const int id = action->data().toInt();
        if (id == kSizeCommand || id == kMaximizeCommand) {
            EXPECT_FALSE(action->isEnabled()) << id;
        }
    }
}

TEST(FramelessResizerTest, EdgesAndCursors)
{
    const QSize size(400, 300);
    struct Case
    {
        QPoint point;
        Qt::Edges edges;
        Qt::CursorShape cursor;
    };
    const Case cases[] = {
        {{200, 150}, {}, Qt::ArrowCursor},
        {{0, 150}, Qt::LeftEdge, Qt::SizeHorCursor},
        {{4, 150}, Qt::LeftEdge, Qt::SizeHorCursor},
        {{5, 150}, {}, Qt::ArrowCursor},
        {{395, 150}, Qt::RightEdge, Qt::SizeHorCursor},
        {{200, 2}, Qt::TopEdge, Qt::SizeVerCursor},
        {{200, 299}, Qt::BottomEdge, Qt::SizeVerCursor},
        {{1, 1}, Qt::LeftEdge | Qt::TopEdge, Qt::SizeFDiagCursor},
        {{399, 299}, Qt::RightEdge | Qt::BottomEdge, Qt::SizeFDiagCursor},
        {{399, 0}, Qt::RightEdge | Qt::TopEdge, Qt::SizeBDiagCursor},
        {{0, 299}, Qt::LeftEdge | Qt::BottomEdge, Qt::SizeBDiagCursor},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResizeEdgesAt(size, c.point, 5), c.edges) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(ResizeCursor(c.edges), c.cursor) << c.point.x() << "," << c.point.y();
    }
}

TEST(FramelessResizerTest, ShowsSizingCursorsNearTheEdgesOnly)
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(400, 300);
    new FramelessResizer(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(2, 150));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&window, QPoint(398, 298));
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(&window, QPoint(200, 150));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ButtonStyleTest, HoverInvertsAndFocusSubtracts30Modulo256)
{
    struct Case
    {
        settings::Rgb background;
        settings::Rgb hover;
        settings::Rgb focus;
    };
    const Case cases[] = {
        {{10, 200, 40}, {245, 55, 215}, {236, 170, 10}},
        {{64, 128, 128}, {191, 127, 127}, {34, 98, 98}},
        {{0, 29, 30}, {255, 226, 225}, {226, 255, 0}},
        {{255, 255, 255}, {0, 0, 0}, {225, 225, 225}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HoverColor(c.background), c.hover);
        EXPECT_EQ(FocusColor(c.background), c.focus);
    }
}

TEST(ButtonStyleTest, FlatButtonShowsItsColoursAndSwapsItsIcons)
{
    QWidget window;
    window.resize(200, 100);
    auto* other = new QPushButton(QStringLiteral("x"), &window);
    other->setGeometry(150, 60, 40, 30);
    auto* button = new IconButton(QStringLiteral("start"), &window);
    button->setGeometry(20, 20, 48, 48);
    button->setIconSize(QSize(32, 32));
    const settings::Rgb background{10, 200, 40};
    button->SetBackground(background);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint edge(2, 24);
    EXPECT_EQ(Grab(*button).pixel(edge), qRgb(10, 200, 40));

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([button] { return button->hasFocus(); }, 2000));
    EXPECT_EQ(Grab(*button).pixel(edge), qRgb(236, 170, 10));

    QTest::mouseMove(button, QPoint(24, 24));
    ASSERT_TRUE(QTest::qWaitFor([button] { return button->underMouse(); }, 2000));
    EXPECT_EQ(Grab(*button).pixel(edge), qRgb(245, 55, 215));
    QTest::mouseMove(&window, QPoint(120, 80));
    ASSERT_TRUE(QTest::qWaitFor([button] { return !button->underMouse(); }, 2000));

    // On a dark background the hover colour is light, so the icon swaps to its dark-stroked tint.
    button->SetBackground({30, 30, 30});
    EXPECT_NE(button->normalIcon().cacheKey(), button->hoverIcon().cacheKey());
    EXPECT_EQ(button->hoverIcon().pixmap(32, 32).toImage(),
              TintedIcon(QStringLiteral("start"), {225, 225, 225}, 32).pixmap(32, 32).toImage());
    EXPECT_EQ(button->icon().cacheKey(), button->normalIcon().cacheKey());
    QTest::mouseMove(button, QPoint(24, 24));
    ASSERT_TRUE(QTest::qWaitFor([button] { return button->underMouse(); }, 2000));
    EXPECT_EQ(button->icon().cacheKey(), button->hoverIcon().cacheKey());
    QTest::mouseMove(&window, QPoint(120, 80));
    ASSERT_TRUE(QTest::qWaitFor([button] { return !button->underMouse(); }, 2000));
    EXPECT_EQ(button->icon().cacheKey(), button->normalIcon().cacheKey());
}

TEST(ButtonStyleTest, IconsStandOutOnDarkAndLightBackgrounds)
{
    // The stop square's outline is drawn in the stroke colour: light on a dark background,
    // dark on a light one.
    const QImage onDark = TintedIcon(QStringLiteral("stop"), {64, 128, 128}, 24).pixmap(24, 24).toImage();
    const QImage onLight = TintedIcon(QStringLiteral("stop"), {240, 240, 240}, 24).pixmap(24, 24).toImage();
    ASSERT_FALSE(onDark.isNull());
    ASSERT_FALSE(onLight.isNull());
    const QColor darkEdge = onDark.pixelColor(5, 12);
    const QColor lightEdge = onLight.pixelColor(5, 12);
    EXPECT_GT(darkEdge.lightness(), 200);
    EXPECT_LT(lightEdge.lightness(), 80);
}

TEST(ButtonStyleTest, EveryNamedIconIsShipped)
{
    EnsureUiResources();
    for (const MainButton& button : MainWindowButtons()) {
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(button.icon)))) << button.icon;
    }
    const int commands[] = {32796, 32794, 32786, 32789, 32791, 32790, 32831, 32772, 32773,
                            32771, 32774, 32775, 32776, 32778, 32798, 32797, 32784, 32833,
                            32788, 32832, 32806, 32807, 32830, 1201,  1202,  1203,  1204};
    for (int id : commands) {
        EXPECT_FALSE(CommandIcon(id).pixmap(16, 16).isNull()) << id;
    }
    EXPECT_TRUE(CommandIcon(4242).isNull());
}

TEST(ButtonStyleTest, EveryButtonIconDrawnByTheBuildIsTheOneDrawnAtRunTime)
{
    EnsureUiResources();
    std::vector<QString> names{QStringLiteral("shadow")};
    for (const MainButton& button : MainWindowButtons()) {
        names.push_back(QString::fromLatin1(button.icon));
    }
    for (const QString& name : names) {
        QFile file(QStringLiteral(":/icons/%1.svg").arg(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray svg = file.readAll();
        for (const bool forDark : {false, true}) {
            for (const int pixels : kDrawnIconPixels) {
                const QImage drawn(DrawnIconPath(name, forDark, pixels), "PNG");
                ASSERT_FALSE(drawn.isNull()) << name.toStdString() << ' ' << pixels;
                const QImage now = DrawSvg(TintedSvg(svg, forDark), pixels);
                EXPECT_EQ(drawn.convertToFormat(QImage::Format_ARGB32), now.convertToFormat(QImage::Format_ARGB32))
                    << name.toStdString() << (forDark ? " on dark, " : " on light, ") << pixels << " pixels";
            }
        }
    }
    // The icon a button shows is the drawn one, at one and at two pixels to the point.
    const QIcon start = TintedIcon(QStringLiteral("start"), {64, 128, 128}, 24);
    EXPECT_EQ(start.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32),
              QImage(DrawnIconPath(QStringLiteral("start"), true, 24), "PNG").convertToFormat(QImage::Format_ARGB32));
}

TEST(HelpDialogTest, AboutBoxNamesTheProductAndItsLinkOpensTheHelpPage)
{
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(ProductVersion()).hasMatch())
        << ProductVersion().toStdString();
    QWidget owner;
    QTimer::singleShot(0, [] {
        auto* about = qobject_cast<HelpDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        QStringList texts;
        for (const QLabel* label : about->findChildren<QLabel*>()) {
            texts << label->text();
        }
        const QString all = texts.join(QLatin1Char('\n'));
        EXPECT_TRUE(all.contains(QStringLiteral("Lectoria")));
        EXPECT_TRUE(all.contains(ProductVersion()));
        EXPECT_TRUE(all.contains(QStringLiteral("开发组")));
        EXPECT_TRUE(about->helpLink()->text().contains(QStringLiteral("帮助系统")));
        emit about->helpLink()->linkActivated(QStringLiteral("help"));
    });
    ShowHelp(&owner);
    auto* help = owner.findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(OpenHelpWindow(&owner), help);

    const QString page = help->browser()->toPlainText();
    for (const char* phrase : {"New Concept English Book 1 Lesson001.txt", "05 Is it your coat^.sau", "设置目录",
                               "确定并全选朗读", "查找", "F8", "PageDown", "lectoria-cli", "Some English Songs"}) {
        EXPECT_TRUE(page.contains(QString::fromUtf8(phrase))) << phrase;
    }
}

TEST(HelpDialogTest, ClosingTheAboutBoxOpensNoHelp)
{
    QWidget owner;
    QTimer::singleShot(0, [] {
        auto* about = qobject_cast<HelpDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        about->accept();
    });
    ShowHelp(&owner);
    EXPECT_EQ(owner.findChild<HelpWindow*>(), nullptr);
}

} // namespace
