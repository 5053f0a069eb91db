#include "ButtonStyle.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>

#include "IconDrawing.h"

// Q_INIT_RESOURCE must stand outside any namespace.
static int RegisterUiResources()
{
    Q_INIT_RESOURCE(ui);
    Q_INIT_RESOURCE(drawn_icons);
    return 0;
}

namespace lectoria::ui {

namespace {

QString Css(settings::Rgb color)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(color.red).arg(color.green).arg(color.blue);
}

/// A PNG file of ours; null when it is not there. A reader left to find the format itself asks
/// every image plug-in, loading each (the SVG one loads the SVG library) before the window shows.
QPixmap ReadPng(const QString& path)
{
    if (!QFile::exists(path)) {
        return QPixmap();
    }
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QString IconPath(const QString& name)
{
    return QStringLiteral(":/icons/%1.svg").arg(name);
}

constexpr std::array<MainButton, 9> kMainButtons{{
    {1082, "start", "开始朗读,热键为F2"},
    {1083, "pause", "暂停朗读,热键为F3"},
    {1084, "stop", "停止朗读,热键为F4"},
    {1085, "previous", "朗读前一文本,热键为PageUp"},
    {1086, "next", "朗读后一文本,热键为PageDown"},
    {1087, "volume", "声音大小"},
    {1088, "exit", "退出软件"},
    {1010, "open-lesson", "按课文模式打开文本"},
    {1011, "open-topic", "按语法主题模式打开文本"},
}};

struct CommandIconEntry
{
    int id;
    const char* icon;
};

// Client menu, list menu, whole-sentence and large pane menus, and the items the window adds
// to its system menu.
constexpr std::array<CommandIconEntry, 31> kCommandIcons{{
    {32796, "colour-off"},     {32794, "colour"},       {32786, "colour"},        {32789, "list-toggle"},
    {32791, "grammar-toggle"}, {32790, "whole-toggle"}, {32831, "help"},          {32772, "select-all"},
    {32773, "select-none"},    {32771, "delete-all"},   {32774, "delete"},        {32775, "move-up"},
    {32776, "move-down"},      {32778, "open-lesson"},  {32798, "open-topic"},    {32797, "arrange"},
    {32784, "colour"},         {32833, "help"},         {32788, "colour"},        {32832, "help"},
    {32806, "colour"},         {32807, "open-topic"},   {32830, "help"},          {1202, "colour-off"},
    {1203, "colour"},          {1201, "full-screen"},   {1204, "help"},           {1205, "analyse"},
    {1206, "shadow"},          {1208, "replay"},        {1209, "speech-picture"},
}};

/// An SVG icon that loads its file when it is first drawn. The window makes its commands' icons
/// when it is built, but shows them only in menus; an SVG icon made at once loads the SVG library
/// and its plug-ins before the window shows.
class DeferredIconEngine : public QIconEngine
{
public:
    explicit DeferredIconEngine(QString path) : m_path(std::move(path)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Loaded().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& Loaded()
    {
        if (m_icon.isNull()) {
            m_icon = QIcon(m_path);
        }
        return m_icon;
    }

    QString m_path;
    QIcon m_icon;
};

/// The application's style, but with tool tips that appear after the program's short delay.
class QuickToolTipStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return kToolTipDelay;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void EnableQuickToolTips()
{
    // The delay is a style hint that QApplication reads from the hovered widget's style; widgets
    // with a style sheet pass the question on to the application's style, so it is set there.
    if (dynamic_cast<QuickToolTipStyle*>(QApplication::style()) != nullptr) {
        return;
    }
    QApplication::setStyle(new QuickToolTipStyle(QApplication::style()->name()));
}

void EnsureUiResources()
{
    static const int registered = RegisterUiResources();
    (void)registered;
}

settings::Rgb HoverColor(settings::Rgb background)
{
    return settings::Rgb{static_cast<std::uint8_t>(255 - background.red),
                         static_cast<std::uint8_t>(255 - background.green),
                         static_cast<std::uint8_t>(255 - background.blue)};
}

settings::Rgb FocusColor(settings::Rgb background)
{
    // Unsigned 8-bit arithmetic wraps, which is the modulo 256 the colour wants.
    return settings::Rgb{static_cast<std::uint8_t>(background.red - 30),
                         static_cast<std::uint8_t>(background.green - 30),
                         static_cast<std::uint8_t>(background.blue - 30)};
}

bool IsDarkColor(settings::Rgb color)
{
    return 299 * color.red + 587 * color.green + 114 * color.blue < 140000;
}

QString FlatButtonStyleSheet(settings::Rgb background)
{
    // Hover comes last so that it wins over the focus colour while both apply.
    return QStringLiteral("QPushButton { background-color: %1; border: none; border-radius: 4px; padding: 0px; }\n"
                          "QPushButton:focus { background-color: %2; }\n"
                          "QPushButton:hover { background-color: %3; }\n"
                          "QPushButton:pressed { background-color: %2; }\n"
                          // A switch that is on (shadowing) keeps a ring, so it reads as on at a glance.
                          "QPushButton:checked { background-color: %2; border: 2px solid %4; }\n")
        .arg(Css(background), Css(FocusColor(background)), Css(HoverColor(background)),
             IsDarkColor(background) ? QStringLiteral("#ffe066") : QStringLiteral("#d9480f"));
}

QIcon ProgramIcon()
{
    // Drawn sizes: the window system is given every size at every start, and drawing the SVG
    // for it would load the SVG library before the window shows.
    EnsureUiResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        icon.addPixmap(ReadPng(QStringLiteral(":/icons/program/%1.png").arg(size)));
    }
    return icon;
}

QIcon ToolIcon(const QString& name)
{
    EnsureUiResources();
    return QIcon(new DeferredIconEngine(IconPath(name)));
}

QIcon TintedIcon(const QString& name, settings::Rgb background, int size)
{
    // Every layout restyles every button; drawing the SVGs again each time cost the window a
    // good part of its start. An icon depends only on its name, size and light-or-dark tint.
    static QHash<QString, QIcon> drawn;
    const bool dark = IsDarkColor(background);
    // A denser drawing keeps the icon sharp where a screen has more pixels to the point.
    const int densest = std::max(1, static_cast<int>(std::ceil(qApp != nullptr ? qApp->devicePixelRatio() : 1.0)));
    const QString key =
        name + QLatin1Char(dark ? 'd' : 'l') + QString::number(size) + QLatin1Char('x') + QString::number(densest);
    if (const auto found = drawn.constFind(key); found != drawn.constEnd()) {
        return *found;
    }
    EnsureUiResources();
    QByteArray svg;
    QIcon icon;
    for (int scale = 1; scale <= densest; ++scale) {
        // The window's buttons were drawn during the build; anything else is drawn here, once.
        QPixmap pixmap = ReadPng(DrawnIconPath(name, dark, size * scale));
        if (pixmap.isNull()) {
            if (svg.isEmpty()) {
                QFile file(IconPath(name));
                if (!file.open(QIODevice::ReadOnly)) {
                    return QIcon();
                }
                svg = TintedSvg(file.readAll(), dark);
            }
            pixmap = QPixmap::fromImage(DrawSvg(svg, size * scale));
        }
        if (!pixmap.isNull()) {
            pixmap.setDevicePixelRatio(scale);
            icon.addPixmap(pixmap);
        }
    }
    drawn.insert(key, icon);
    return icon;
}

std::span<const MainButton> MainWindowButtons()
{
    return kMainButtons;
}

QIcon CommandIcon(int commandId)
{
    for (const CommandIconEntry& entry : kCommandIcons) {
        if (entry.id == commandId) {
            return ToolIcon(QString::fromLatin1(entry.icon));
        }
    }
    return QIcon();
}

IconButton::IconButton(const QString& iconName, QWidget* parent) : QPushButton(parent), m_iconName(iconName)
{
    setFlat(true);
}

bool IconButton::event(QEvent* event)
{
    // A button that was given no background nor pair by the time it is first polished shows the
    // plain icon; the window's buttons get their tinted pair first and never load the SVG here.
    if (event->type() == QEvent::Polish && !m_styledFor && m_normal.isNull()) {
        SetIconPair(ToolIcon(m_iconName), ToolIcon(m_iconName));
    }
    return QPushButton::event(event);
}

void IconButton::SetBackground(settings::Rgb background)
{
    const int size = iconSize().width();
    if (m_styledFor == std::pair(background, size)) {
        return; // a new style sheet costs a restyle of the button even when it is the same text
    }
    m_styledFor = std::pair(background, size);
    setStyleSheet(FlatButtonStyleSheet(background));
    m_normal = TintedIcon(m_iconName, background, size);
    // The hover tint is drawn when the pointer first comes: not while the window is being shown.
    m_hover = QIcon();
    setIcon(underMouse() ? hoverIcon() : m_normal);
}

void IconButton::SetIconPair(const QIcon& normal, const QIcon& hover)
{
    m_normal = normal;
    m_hover = hover;
    m_styledFor.reset(); // the pair given here stands until a background is set again
    setIcon(underMouse() ? m_hover : m_normal);
}

const QIcon& IconButton::hoverIcon() const
{
    if (m_hover.isNull() && m_styledFor) {
        m_hover = TintedIcon(m_iconName, HoverColor(m_styledFor->first), m_styledFor->second);
    }
    return m_hover;
}

void IconButton::enterEvent(QEnterEvent* event)
{
    setIcon(hoverIcon());
    QPushButton::enterEvent(event);
}

void IconButton::leaveEvent(QEvent* event)
{
    setIcon(m_normal);
    QPushButton::leaveEvent(event);
}

} // namespace lectoria::ui
