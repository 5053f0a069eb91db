#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include <QObject>

#include "settings/Settings.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;

namespace lectoria::ui {

class CSpecialListBox;
class TitleBar;

/// The controls that take the colour table's colours, by role.
struct ColouredControls
{
    QWidget* window = nullptr; ///< parent of the colour dialogs and messages
    QWidget* client = nullptr;
    TitleBar* titleBar = nullptr;
    QLineEdit* statusLine = nullptr;
    QLabel* repeatCaption = nullptr;
    QLabel* intervalCaption = nullptr;
    QLabel* speedCaption = nullptr;
    CSpecialListBox* list = nullptr;
    QTextEdit* wholePane = nullptr;
    QTextEdit* currentPane = nullptr;
    QPlainTextEdit* grammarPane = nullptr;
    std::function<std::vector<QPushButton*>()> buttons;
};

/// The window's colours: paints every control from the settings' colour table and runs the colour
/// commands (client area, title bar, grammar and sentence panes, the list's own dialog).
class WindowColours : public QObject
{
    Q_OBJECT

public:
    WindowColours(settings::Settings& settings, const ColouredControls& controls, QObject* parent = nullptr);

    /// The platform's button face, the client area's colour when the user has chosen none.
    static settings::Rgb ButtonFace();

    /// Paints every control from the colour table.
    void Apply();
    /// The bottom bar's buttons take the client background (after a layout change too).
    void RestyleButtons();
    /// The edit colour dialog for two entries of the colour table; true when confirmed.
    bool EditPair(std::size_t textEntry, std::size_t backgroundEntry);
    void SetClientColors();
    void CancelClientColors();
    void SetTitleColors();
    void CancelTitleColors();
    /// Writes the list's own colours into the colour table, as the profile keeps them.
    void StoreListColors();

signals:
    /// The status line's colours changed; its text is written again.
    void statusColorsChanged();

private:
    settings::Settings& m_settings;
    ColouredControls m_controls;
};

} // namespace lectoria::ui
