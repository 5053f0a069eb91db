#include "CSetListColorDlg.h"

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace lectoria::ui {

using namespace colordialog;

CSetListColorDlg::CSetListColorDlg(ListColors colors, QWidget* parent)
    : QDialog(parent), m_colors(colors), m_picker(DefaultColorPicker())
{
    setWindowTitle(QStringLiteral("Set List Color Dialog"));
    setFont(DialogFont());
    const QFont& units = font();
    auto place = [&units](QWidget* widget, int x, int y, int width, int height) {
        widget->setGeometry(FromDialogUnits(units, x, y, width, height));
    };

    m_textSwatch = ReadOnlyField(this);
    place(m_textSwatch, 16, 15, 70, 20);
    m_textButton = new QPushButton(QStringLiteral("前景颜色"), this);
    place(m_textButton, 216, 15, 50, 15);
    m_backgroundSwatch = ReadOnlyField(this);
    place(m_backgroundSwatch, 16, 45, 70, 20);
    m_backgroundButton = new QPushButton(QStringLiteral("背景颜色"), this);
    place(m_backgroundButton, 216, 45, 50, 15);
    m_lineSwatch = ReadOnlyField(this);
    place(m_lineSwatch, 16, 75, 70, 20);
    m_lineButton = new QPushButton(QStringLiteral("线条颜色"), this);
    place(m_lineButton, 216, 75, 50, 15);
    m_caption = new QLabel(QStringLiteral("所选颜色显示的例子"), this);
    place(m_caption, 16, 113, 73, 8);
    m_caption->resize(std::max(m_caption->width(), m_caption->sizeHint().width()),
                      std::max(m_caption->height(), m_caption->sizeHint().height()));
    m_textSample = ReadOnlyField(this);
    place(m_textSample, 16, 125, 250, 12);
    m_lineSample = ReadOnlyField(this);
    place(m_lineSample, 16, 137, 250, 12);
    // The two samples read as one strip: text on its background, then the line beneath it.
    m_textSample->setFrame(false);
    m_lineSample->setFrame(false);
    // The swatches only show colours; the focus starts on the first button.
    m_textSwatch->setFocusPolicy(Qt::NoFocus);
    m_backgroundSwatch->setFocusPolicy(Qt::NoFocus);
    m_lineSwatch->setFocusPolicy(Qt::NoFocus);
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    place(m_okButton, 156, 160, 50, 15);
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    place(m_cancelButton, 216, 160, 50, 15);
    setFixedSize(FromDialogUnits(units, 0, 0, 284, 185).size());

    connect(m_textButton, &QPushButton::clicked, this, [this] { Pick(m_colors.text); });
    connect(m_backgroundButton, &QPushButton::clicked, this, [this] { Pick(m_colors.background); });
    connect(m_lineButton, &QPushButton::clicked, this, [this] { Pick(m_colors.line); });
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<ListColors> CSetListColorDlg::Edit(ListColors colors, QWidget* parent, ColorPicker picker)
{
    CSetListColorDlg dialog(colors, parent);
    if (picker) {
        dialog.SetColorPicker(std::move(picker));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.colors();
}

void CSetListColorDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_refreshPending) {
        m_refreshPending = false;
        QTimer::singleShot(10, this, &CSetListColorDlg::RefreshSample);
    }
}

void CSetListColorDlg::RefreshSample()
{
    m_textSample->setFont(SampleFont(20, 13));
    m_textSample->setText(QStringLiteral("   GAMES AND PLAY ARE KELVARO'S FAVOURITE"));
    m_textSample->setCursorPosition(0);
    m_lineSample->setText(QString(65, QLatin1Char('-')));
    m_lineSample->setCursorPosition(0);
    const QString blanks(44, QLatin1Char(' '));
    m_textSwatch->setText(blanks);
    m_backgroundSwatch->setText(blanks);
    m_lineSwatch->setText(blanks);
    PaintField(m_textSwatch, ToQColor(m_colors.text), ToQColor(m_colors.text));
    PaintField(m_backgroundSwatch, ToQColor(m_colors.background), ToQColor(m_colors.background));
    PaintField(m_lineSwatch, ToQColor(m_colors.line), ToQColor(m_colors.line));
    PaintField(m_textSample, ToQColor(m_colors.text), ToQColor(m_colors.background));
    PaintField(m_lineSample, ToQColor(m_colors.line), ToQColor(m_colors.background));
}

void CSetListColorDlg::Pick(settings::Rgb& color)
{
    if (const std::optional<QColor> picked = m_picker(ToQColor(color), this)) {
        color = ToRgb(*picked);
        RefreshSample();
    }
}

} // namespace lectoria::ui
