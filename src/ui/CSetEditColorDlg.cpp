#include "CSetEditColorDlg.h"

#include <algorithm>
#include <cmath>

#include <QColorDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace lectoria::ui {

namespace colordialog {

QFont DialogFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    return font;
}

QRect FromDialogUnits(const QFont& font, int x, int y, int width, int height)
{
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = std::max((alphabet / 26 + 1) / 2, 1);
    const int baseY = std::max(metrics.height(), 1);
    return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}

QFont SampleFont(int height, int width)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    font.setPixelSize(height);
    const int average = QFontMetrics(font).averageCharWidth();
    if (average > 0) {
        font.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * width / average)), 1, 4000));
    }
    return font;
}

QLineEdit* ReadOnlyField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    return field;
}

void PaintField(QLineEdit* field, const QColor& text, const QColor& background)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, background);
    field->setPalette(palette);
}

QColor ToQColor(settings::Rgb color)
{
    return QColor(color.red, color.green, color.blue);
}

settings::Rgb ToRgb(const QColor& color)
{
    return settings::Rgb{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                         static_cast<std::uint8_t>(color.blue())};
}

} // namespace colordialog

using namespace colordialog;

ColorPicker DefaultColorPicker()
{
    return [](const QColor& initial, QWidget* parent) -> std::optional<QColor> {
        const QColor picked = QColorDialog::getColor(initial, parent);
        if (!picked.isValid()) {
            return std::nullopt;
        }
        return picked;
    };
}

CSetEditColorDlg::CSetEditColorDlg(EditColors colors, QWidget* parent)
    : QDialog(parent), m_colors(colors), m_picker(DefaultColorPicker())
{
    setWindowTitle(QStringLiteral("Set Edit Color Dialog"));
    setFont(DialogFont());
    const QFont& units = font();
    auto place = [&units](QWidget* widget, int x, int y, int width, int height) {
        widget->setGeometry(FromDialogUnits(units, x, y, width, height));
    };

    m_textSwatch = ReadOnlyField(this);
    place(m_textSwatch, 18, 15, 45, 20);
    m_textButton = new QPushButton(QStringLiteral("前景颜色(&F)"), this);
    place(m_textButton, 216, 15, 55, 15);
    m_backgroundSwatch = ReadOnlyField(this);
    place(m_backgroundSwatch, 18, 45, 45, 20);
    m_backgroundButton = new QPushButton(QStringLiteral("背景颜色(B)"), this);
    place(m_backgroundButton, 216, 45, 55, 15);
    m_caption = new QLabel(QStringLiteral("所选颜色的例子"), this);
    place(m_caption, 18, 81, 57, 8);
    m_caption->resize(std::max(m_caption->width(), m_caption->sizeHint().width()),
                      std::max(m_caption->height(), m_caption->sizeHint().height()));
    m_sample = ReadOnlyField(this);
    place(m_sample, 18, 93, 253, 21);
    // The swatches only show colours; the focus starts on the first button.
    m_textSwatch->setFocusPolicy(Qt::NoFocus);
    m_backgroundSwatch->setFocusPolicy(Qt::NoFocus);
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    place(m_okButton, 139, 135, 55, 15);
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    place(m_cancelButton, 216, 135, 55, 15);
    setFixedSize(FromDialogUnits(units, 0, 0, 286, 160).size());

    connect(m_textButton, &QPushButton::clicked, this, [this] { Pick(m_colors.text); });
    connect(m_backgroundButton, &QPushButton::clicked, this, [this] { Pick(m_colors.background); });
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<EditColors> CSetEditColorDlg::Edit(EditColors colors, QWidget* parent, ColorPicker picker)
{
    CSetEditColorDlg dialog(colors, parent);
    if (picker) {
        dialog.SetColorPicker(std::move(picker));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.colors();
}

void CSetEditColorDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_refreshPending) {
        m_refreshPending = false;
        QTimer::singleShot(10, this, &CSetEditColorDlg::RefreshSample);
    }
}

void CSetEditColorDlg::RefreshSample()
{
    m_sample->setFont(SampleFont(14, 9));
    m_sample->setText(QStringLiteral("    GAMES AND PLAY ARE KELVARO'S FAVOURITE"));
    m_sample->setCursorPosition(0);
    const QString blanks(20, QLatin1Char(' '));
    m_textSwatch->setText(blanks);
    m_backgroundSwatch->setText(blanks);
    PaintField(m_textSwatch, ToQColor(m_colors.text), ToQColor(m_colors.text));
    PaintField(m_backgroundSwatch, ToQColor(m_colors.background), ToQColor(m_colors.background));
    PaintField(m_sample, ToQColor(m_colors.text), ToQColor(m_colors.background));
}

void CSetEditColorDlg::Pick(settings::Rgb& color)
{
    if (const std::optional<QColor> picked = m_picker(ToQColor(color), this)) {
        color = ToRgb(*picked);
        RefreshSample();
    }
}

} // namespace lectoria::ui
