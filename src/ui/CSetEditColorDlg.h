#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QDialog>

#include "settings/Settings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace lectoria::ui {

/// Asks the user for a colour, starting from `initial`; nothing when the user cancels.
using ColorPicker = std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

/// The system colour dialog (`QColorDialog`).
ColorPicker DefaultColorPicker();

/// What the colour dialogs share: their font, the sample fonts and the colouring of a field.
namespace colordialog {

/// The dialogs' font: "宋体" 9 points, or what the system offers for it.
QFont DialogFont();
/// A control's place given in dialog units of `font` (a quarter of the average character width
/// across, an eighth of the line height down).
QRect FromDialogUnits(const QFont& font, int x, int y, int width, int height);
/// "Times New Roman" (or its stand-in), heaviest weight, `height` pixels high and stretched so
/// that its average character is `width` pixels wide.
QFont SampleFont(int height, int width);
/// A read-only field without a context menu: a swatch or a sample.
QLineEdit* ReadOnlyField(QWidget* parent);
/// Paints a read-only field: `text` on `background`.
void PaintField(QLineEdit* field, const QColor& text, const QColor& background);
QColor ToQColor(settings::Rgb color);
settings::Rgb ToRgb(const QColor& color);

} // namespace colordialog

/// A text colour and a background colour, as the sentence panes and the window keep them.
struct EditColors
{
    settings::Rgb text;
    settings::Rgb background;

    bool operator==(const EditColors&) const = default;
};

/// The two-colour dialog: picks a text colour and a background colour, with a live sample.
/// Used by the sentence panes' colour commands and by the window colour commands.
class CSetEditColorDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSetEditColorDlg(EditColors colors, QWidget* parent = nullptr);

    /// Runs the dialog modally; the picked colours on OK, nothing on Cancel.
    static std::optional<EditColors> Edit(EditColors colors, QWidget* parent = nullptr,
                                          ColorPicker picker = ColorPicker());

    void SetColorPicker(ColorPicker picker) { m_picker = std::move(picker); }
    EditColors colors() const { return m_colors; }

    QLineEdit* textSwatch() const { return m_textSwatch; }
    QLineEdit* backgroundSwatch() const { return m_backgroundSwatch; }
    QLineEdit* sample() const { return m_sample; }
    QPushButton* textButton() const { return m_textButton; }
    QPushButton* backgroundButton() const { return m_backgroundButton; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefreshSample();
    void Pick(settings::Rgb& color);

    EditColors m_colors;
    ColorPicker m_picker;
    bool m_refreshPending = true;
    QLineEdit* m_textSwatch = nullptr;
    QPushButton* m_textButton = nullptr;
    QLineEdit* m_backgroundSwatch = nullptr;
    QPushButton* m_backgroundButton = nullptr;
    QLabel* m_caption = nullptr;
    QLineEdit* m_sample = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace lectoria::ui
