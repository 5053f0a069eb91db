#pragma once

#include <optional>

#include <QDialog>

#include "CSetEditColorDlg.h"
#include "settings/Settings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace lectoria::ui {

/// The sentence list's three colours.
struct ListColors
{
    settings::Rgb text;
    settings::Rgb background;
    settings::Rgb line;

    bool operator==(const ListColors&) const = default;
};

/// The list colour dialog: picks the sentence list's text, background and line colours, with a
/// text sample and a line sample.
class CSetListColorDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSetListColorDlg(ListColors colors, QWidget* parent = nullptr);

    /// Runs the dialog modally; the picked colours on OK, nothing on Cancel.
    static std::optional<ListColors> Edit(ListColors colors, QWidget* parent = nullptr,
                                          ColorPicker picker = ColorPicker());

    void SetColorPicker(ColorPicker picker) { m_picker = std::move(picker); }
    ListColors colors() const { return m_colors; }

    QLineEdit* textSwatch() const { return m_textSwatch; }
    QLineEdit* backgroundSwatch() const { return m_backgroundSwatch; }
    QLineEdit* lineSwatch() const { return m_lineSwatch; }
    QLineEdit* textSample() const { return m_textSample; }
    QLineEdit* lineSample() const { return m_lineSample; }
    QPushButton* textButton() const { return m_textButton; }
    QPushButton* backgroundButton() const { return m_backgroundButton; }
    QPushButton* lineButton() const { return m_lineButton; }
    QPushButton* okButton() const { return m_okButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefreshSample();
    void Pick(settings::Rgb& color);

    ListColors m_colors;
    ColorPicker m_picker;
    bool m_refreshPending = true;
    QLineEdit* m_textSwatch = nullptr;
    QPushButton* m_textButton = nullptr;
    QLineEdit* m_backgroundSwatch = nullptr;
    QPushButton* m_backgroundButton = nullptr;
    QLineEdit* m_lineSwatch = nullptr;
    QPushButton* m_lineButton = nullptr;
    QLabel* m_caption = nullptr;
    QLineEdit* m_textSample = nullptr;
    QLineEdit* m_lineSample = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace lectoria::ui
