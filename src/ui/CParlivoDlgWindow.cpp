// The main window's own geometry and window commands: placing the controls, the splitters and
// pane toggles, the full-screen view, the client and system menus, colours and the volume popup.
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

void Place(QWidget* widget, const QRect& rect, bool shown)
{
    widget->setGeometry(rect);
    widget->setVisible(shown && !rect.isEmpty());
}

} // namespace

void CParlivoDlg::LayoutPanes()
{
    m_paneState.fListRightScale = m_settings.fListRightScale;
    m_paneState.fGrammarTopScale = m_settings.fGrammarTopScale;
    m_paneState.fWholeBottomScale = m_settings.fWholeBottomScale;
    m_layout = ::lectoria::ui::LayoutPanes(m_client->size(), m_paneState);
    const bool controls = m_layout.controlsShown;

    Place(button(1010), m_layout.modeButtons[0], controls);
    Place(button(1011), m_layout.modeButtons[1], controls);
    for (int i = 0; i < 6; ++i) {
        Place(button(1082 + i), m_layout.readingButtons[static_cast<std::size_t>(i)], controls);
    }
    Place(button(1088), m_layout.exitButton, controls);
    Place(m_repeatList, m_layout.repeatList, controls);
    Place(m_intervalList, m_layout.intervalList, controls);
    Place(m_repeatCaption, m_layout.repeatCaption, controls);
    Place(m_intervalCaption, m_layout.intervalCaption, controls);
    Place(m_statusLine, m_layout.statusLine, controls);
    Place(m_sentenceList, m_layout.listArea, m_layout.listShown);
    Place(m_wholePane, m_layout.wholePane, m_layout.wholeShown);
    Place(m_grammarPane, m_layout.grammarPane, m_layout.grammarShown);
    Place(m_currentPane, m_layout.currentPane, true);
    // The restore's progress stands over the status line while it runs.
    m_restoreProgress->setGeometry(m_layout.statusLine.adjusted(0, -3, 0, 3));
    m_restoreProgress->raise();
    m_band->setGeometry(m_client->rect());
    m_band->raise();
    if (m_paneState.isFullScreen) {
        HideVolumePopup();
    } else {
        RestyleButtons();
    }
    m_titleBar->update();
    if (m_reading != nullptr) {
        m_reading->RefreshSentence();
    }
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

void CParlivoDlg::TogglePane(int key)
{
    const QSize client = m_client->size();
    switch (key) {
    case Qt::Key_F5:
        ToggleListPane(m_paneState);
        break;
    case Qt::Key_F6:
        ToggleGrammarPane(m_paneState, client);
        break;
    case Qt::Key_F7:
        ToggleWholePane(m_paneState, client);
        break;
    case Qt::Key_F8:
        ToggleFullScreen(m_paneState);
        LayoutPanes();
        return;
    default:
        return;
    }
    // Showing a pane again may have corrected a proportion so the current pane keeps its room.
    m_settings.fListRightScale = m_paneState.fListRightScale;
    m_settings.fGrammarTopScale = m_paneState.fGrammarTopScale;
    m_settings.fWholeBottomScale = m_paneState.fWholeBottomScale;
    if (!m_paneState.isFullScreen) {
        LayoutPanes();
    }
}

bool CParlivoDlg::HandleClientMouse(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        LayoutPanes();
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (mouse->button() == Qt::RightButton && m_layout.bottomBar.contains(point) && !m_paneState.isFullScreen) {
            QMenu* menu = m_commands->CreateClientMenu(this);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() != Qt::LeftButton || m_isDragging) {
            return false;
        }
        m_dragKind = SplitterAt(m_layout, point);
        if (m_dragKind == DragKind::None) {
            return false;
        }
        m_isDragging = true;
        m_client->grabMouse();
        m_band->ShowLine(DragLine(m_layout, m_dragKind, point));
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (m_isDragging) {
            // The line stands where a release here would drop the splitter.
            m_band->ShowLine(DragLine(m_layout, m_dragKind, ClampDrop(m_layout, m_dragKind, point)));
            return true;
        }
        m_client->setCursor(SplitterCursor(m_layout, point));
        return false;
    }
    case QEvent::MouseButtonRelease: {
        if (!m_isDragging) {
            return false;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_client->releaseMouse();
        m_band->HideLine();
        const QPoint drop = ClampDrop(m_layout, m_dragKind, mouse->position().toPoint());
        ApplyDrop(m_paneState, m_layout, m_dragKind, drop);
        m_settings.fListRightScale = m_paneState.fListRightScale;
        m_settings.fGrammarTopScale = m_paneState.fGrammarTopScale;
        m_settings.fWholeBottomScale = m_paneState.fWholeBottomScale;
        m_isDragging = false;
        m_dragKind = DragKind::None;
        LayoutPanes();
        return true;
    }
    default:
        return false;
    }
}

void CParlivoDlg::TrackPointer(const QPoint& globalPos)
{
    if (m_isDragging || m_paneState.isFullScreen) {
        return;
    }
    const QPoint point = m_client->mapFromGlobal(globalPos);
    switch (EdgeStripAt(m_layout, point)) {
    case EdgeStrip::List:
        TogglePane(Qt::Key_F5);
        break;
    case EdgeStrip::Grammar:
        TogglePane(Qt::Key_F6);
        break;
    case EdgeStrip::Whole:
        TogglePane(Qt::Key_F7);
        break;
    case EdgeStrip::None:
        break;
    }
    if (m_volumePopup != nullptr && !m_volumePopup->isHeld() && !m_layout.volumeArea.contains(point) &&
        !m_layout.readingButtons[5].contains(point)) {
        HideVolumePopup();
    }
}

void CParlivoDlg::ShowVolumePopup()
{
    if (m_volumePopup != nullptr || m_paneState.isFullScreen) {
        return;
    }
    m_volumePopup = new CVolumeControl(*m_volume, m_client);
    m_volumePopup->SetTargetRect(m_layout.volumeArea);
    m_volumePopup->SetBackgroundColor(m_settings.colorTable[settings::kStatusText]);
    // A drag on the slider may stray out of the volume area; where the button is let go decides.
    connect(m_volumePopup, &CVolumeControl::released, this, &CParlivoDlg::TrackPointer);
    m_volumePopup->Start();
}

void CParlivoDlg::HideVolumePopup()
{
    if (m_volumePopup != nullptr) {
        m_volumePopup->hide();
        m_volumePopup->deleteLater();
        m_volumePopup = nullptr;
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
