#pragma once

#include <optional>
#include <span>
#include <utility>

#include <QIcon>
#include <QPushButton>
#include <QString>

#include "settings/Settings.h"

namespace lectoria::ui {

/// A button's background while the pointer is over it: each channel inverted (255 − c).
settings::Rgb HoverColor(settings::Rgb background);
/// A button's background while it has the focus: each channel minus 30, modulo 256.
settings::Rgb FocusColor(settings::Rgb background);

/// The style sheet of the flat buttons on `background`, with the hover and the focus colours.
QString FlatButtonStyleSheet(settings::Rgb background);

/// True for a background on which light strokes read better than dark ones.
bool IsDarkColor(settings::Rgb color);

/// The program's own icon, for its windows.
QIcon ProgramIcon();
/// One of our icons (":/icons/<name>.svg") in the colours it is drawn with, which suit light
/// backgrounds such as menus.
QIcon ToolIcon(const QString& name);
/// The same icon recoloured to stand out on `background` (light strokes on dark colours), drawn
/// at `size` pixels.
QIcon TintedIcon(const QString& name, settings::Rgb background, int size);

/// A button of the main window's bottom bar: its control id, icon and tool tip.
struct MainButton
{
    int id;
    const char* icon;
    const char* tip;
};

/// The nine styled buttons: 1082 … 1088, then the two mode buttons 1010 and 1011.
std::span<const MainButton> MainWindowButtons();

/// The icon a menu item shows for a command id of the client menu, the list menu, the pane menus
/// or the system menu; a null icon for an id without one.
QIcon CommandIcon(int commandId);

/// A flat push button with an icon pair: the normal icon, and the hover icon while the pointer is
/// over it; the background takes the hover and focus colours of `FlatButtonStyleSheet`.
class IconButton : public QPushButton
{
    Q_OBJECT

public:
    /// A button showing the icon `iconName` (see `ToolIcon`) from when it is first shown; the pair
    /// follows `SetBackground`.
    explicit IconButton(const QString& iconName, QWidget* parent = nullptr);

    /// Takes `background` for the style sheet and tints the icon pair to stand out on the normal
    /// and on the hover background.
    void SetBackground(settings::Rgb background);
    void SetIconPair(const QIcon& normal, const QIcon& hover);

    const QIcon& normalIcon() const { return m_normal; }
    const QIcon& hoverIcon() const;

protected:
    bool event(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString m_iconName;
    QIcon m_normal;
    mutable QIcon m_hover;                                    ///< after SetBackground, drawn on first use
    std::optional<std::pair<settings::Rgb, int>> m_styledFor; ///< background and icon size
};

/// How long the pointer rests on a control before its tool tip shows, in milliseconds.
inline constexpr int kToolTipDelay = 10;

/// Makes every tool tip of the application appear after `kToolTipDelay`.
void EnableQuickToolTips();

/// Makes sure the program's resources (icons, help page) are registered; they live in a static
/// library, whose resource object the linker would otherwise leave out.
void EnsureUiResources();

} // namespace lectoria::ui
