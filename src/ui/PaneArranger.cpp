#include "PaneArranger.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "CProgressCtrlStart.h"
#include "CSpecialListBox.h"
#include "CVolumeControl.h"
#include "HalftoneBand.h"
#include "TitleBar.h"

namespace lectoria::ui {

namespace {

void Place(QWidget* widget, const QRect& rect, bool shown)
{
    widget->setGeometry(rect);
    widget->setVisible(shown && !rect.isEmpty());
}

} // namespace

PaneArranger::PaneArranger(settings::Settings& settings, const ClientControls& controls, IVolume& volume,
                           QObject* parent)
    : QObject(parent), m_settings(settings), m_controls(controls), m_volume(volume)
{}

PaneState PaneArranger::state() const
{
    PaneState state;
    static_cast<PaneFlags&>(state) = m_flags;
    static_cast<settings::PaneScales&>(state) = m_settings;
    return state;
}

void PaneArranger::Keep(const PaneState& state)
{
    m_flags = state;
    static_cast<settings::PaneScales&>(m_settings) = state;
}

bool PaneArranger::ToggleByDoubleClick(const QWidget* viewport)
{
    const std::pair<QWidget*, int> toggles[] = {{m_controls.list->viewport(), Qt::Key_F5},
                                                {m_controls.grammarPane->viewport(), Qt::Key_F6},
                                                {m_controls.wholePane->viewport(), Qt::Key_F7},
                                                {m_controls.currentPane->viewport(), Qt::Key_F8}};
    for (const auto& [pane, key] : toggles) {
        if (viewport == pane) {
            TogglePane(key);
            return true;
        }
    }
    return false;
}

void PaneArranger::Layout()
{
    m_layout = LayoutPanes(m_controls.client->size(), state());
    const bool controls = m_layout.controlsShown;

    Place(m_controls.button(1010), m_layout.modeButtons[0], controls);
    Place(m_controls.button(1011), m_layout.modeButtons[1], controls);
    for (int i = 0; i < 6; ++i) {
        Place(m_controls.button(1082 + i), m_layout.readingButtons[static_cast<std::size_t>(i)], controls);
    }
    Place(m_controls.button(1088), m_layout.exitButton, controls);
    Place(m_controls.repeatList, m_layout.repeatList, controls);
    Place(m_controls.intervalList, m_layout.intervalList, controls);
    Place(m_controls.repeatCaption, m_layout.repeatCaption, controls);
    Place(m_controls.intervalCaption, m_layout.intervalCaption, controls);
    Place(m_controls.speedList, m_layout.speedList, controls);
    Place(m_controls.speedCaption, m_layout.speedCaption, controls);
    Place(m_controls.shadowButton, m_layout.shadowButton, controls);
    Place(m_controls.statusLine, m_layout.statusLine, controls);
    Place(m_controls.list, m_layout.listArea, m_layout.listShown);
    Place(m_controls.wholePane, m_layout.wholePane, m_layout.wholeShown);
    Place(m_controls.grammarPane, m_layout.grammarPane, m_layout.grammarShown);
    Place(m_controls.currentPane, m_layout.currentPane, true);
    // The restore's progress stands over the status line while it runs.
    m_controls.progress->setGeometry(m_layout.statusLine.adjusted(0, -3, 0, 3));
    m_controls.progress->raise();
    m_controls.band->setGeometry(m_controls.client->rect());
    m_controls.band->raise();
    if (m_flags.isFullScreen) {
        HideVolumePopup();
    }
    m_controls.titleBar->update();
    emit laidOut();
}

void PaneArranger::TogglePane(int key)
{
    const QSize client = m_controls.client->size();
    PaneState changed = state();
    switch (key) {
    case Qt::Key_F5:
        ToggleListPane(changed);
        break;
    case Qt::Key_F6:
        ToggleGrammarPane(changed, client);
        break;
    case Qt::Key_F7:
        ToggleWholePane(changed, client);
        break;
    case Qt::Key_F8:
        ToggleFullScreen(changed);
        Keep(changed);
        Layout();
        return;
    default:
        return;
    }
    // Showing a pane again may have corrected a proportion so the current pane keeps its room.
    Keep(changed);
    if (!m_flags.isFullScreen) {
        Layout();
    }
}

bool PaneArranger::HandleClientMouse(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
        Layout();
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (mouse->button() == Qt::RightButton && m_layout.bottomBar.contains(point) && !m_flags.isFullScreen) {
            emit clientMenuRequested(mouse->globalPosition().toPoint());
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
        m_controls.client->grabMouse();
        m_controls.band->ShowLine(DragLine(m_layout, m_dragKind, point));
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (m_isDragging) {
            // The line stands where a release here would drop the splitter.
            m_controls.band->ShowLine(DragLine(m_layout, m_dragKind, ClampDrop(m_layout, m_dragKind, point)));
            return true;
        }
        m_controls.client->setCursor(SplitterCursor(m_layout, point));
        return false;
    }
    case QEvent::MouseButtonRelease: {
        if (!m_isDragging) {
            return false;
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_controls.client->releaseMouse();
        m_controls.band->HideLine();
        const QPoint drop = ClampDrop(m_layout, m_dragKind, mouse->position().toPoint());
        PaneState dropped = state();
        ApplyDrop(dropped, m_layout, m_dragKind, drop);
        Keep(dropped);
        m_isDragging = false;
        m_dragKind = DragKind::None;
        Layout();
        return true;
    }
    default:
        return false;
    }
}

void PaneArranger::TrackPointer(const QPoint& globalPos)
{
    if (m_isDragging || m_flags.isFullScreen) {
        return;
    }
    const QPoint point = m_controls.client->mapFromGlobal(globalPos);
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

void PaneArranger::ShowVolumePopup()
{
    if (m_volumePopup != nullptr || m_flags.isFullScreen) {
        return;
    }
    m_volumePopup = new CVolumeControl(m_volume, m_controls.client);
    m_volumePopup->SetTargetRect(m_layout.volumeArea);
    m_volumePopup->SetBackgroundColor(m_settings.colorTable[settings::kStatusText]);
    // A drag on the slider may stray out of the volume area; where the button is let go decides.
    connect(m_volumePopup, &CVolumeControl::released, this, &PaneArranger::TrackPointer);
    m_volumePopup->Start();
}

void PaneArranger::HideVolumePopup()
{
    if (m_volumePopup != nullptr) {
        m_volumePopup->hide();
        m_volumePopup->deleteLater();
        m_volumePopup = nullptr;
    }
}

} // namespace lectoria::ui
