// The main window's colours and window state.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

#include "ButtonStyle.h"
#include "CParlivoDlg.h"
#include "PaneArranger.h"
#include "CProgressCtrlStart.h"
#include "CSetEditColorDlg.h"
#include "CVolumeControl.h"
#include "HalftoneBand.h"
#include "TitleBar.h"
#include "WindowCommands.h"

namespace lectoria::ui {

namespace {

settings::Rgb ToRgb(const QColor& color)
{
    return settings::Rgb{static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
                         static_cast<std::uint8_t>(color.blue())};
}

} // namespace

void CParlivoDlg::LayoutPanes()
{
    m_arranger->Layout();
}

void CParlivoDlg::TogglePane(int key)
{
    m_arranger->TogglePane(key);
}

void CParlivoDlg::RestyleButtons()
{
    const settings::Rgb background = m_settings.colorTable[settings::kClientBackground];
    for (const auto& [id, pushButton] : m_buttons) {
        if (auto* iconButton = qobject_cast<IconButton*>(pushButton)) {
            iconButton->SetBackground(background);
        }
    }
}

bool CParlivoDlg::EditColorPair(std::size_t textEntry, std::size_t backgroundEntry)
{
    const std::optional<EditColors> chosen = CSetEditColorDlg::Edit(
        EditColors{m_settings.colorTable[textEntry], m_settings.colorTable[backgroundEntry]}, this);
    if (!chosen) {
        return false;
    }
    m_settings.colorTable[textEntry] = chosen->text;
    m_settings.colorTable[backgroundEntry] = chosen->background;
    ApplyPaneColors();
    return true;
}

void CParlivoDlg::SetClientColors()
{
    if (EditColorPair(settings::kStatusText, settings::kClientBackground)) {
        m_settings.isColorClient = true;
        m_reading->RefreshStatusLine();
    }
}

void CParlivoDlg::CancelClientColors()
{
    m_settings.isColorClient = false;
    m_settings.colorTable[settings::kClientBackground] = ToRgb(QApplication::palette().color(QPalette::Button));
    m_settings.colorTable[settings::kStatusText] = settings::Rgb{0, 0, 0};
    ApplyPaneColors();
    m_reading->RefreshStatusLine();
}

void CParlivoDlg::SetTitleColors()
{
    if (EditColorPair(settings::kTitleText, settings::kTitleBackground)) {
        m_settings.isColorTitle = true;
        ApplyPaneColors();
    }
}

void CParlivoDlg::CancelTitleColors()
{
    if (m_settings.isColorTitle) {
        m_settings.isColorTitle = false;
        ApplyPaneColors();
        QMessageBox::information(this, QStringLiteral("Lectoria"), QStringLiteral("已取消标题栏颜色"));
    }
}

void CParlivoDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        // After maximise and restore the new size settles a moment later; lay out once more then.
        QTimer::singleShot(100, this, &CParlivoDlg::LayoutPanes);
    }
    if (event->type() == QEvent::ActivationChange) {
        m_titleBar->update();
    }
    QWidget::changeEvent(event);
}

} // namespace lectoria::ui
