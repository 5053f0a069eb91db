#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QPoint>

#include "PaneLayout.h"
#include "settings/Settings.h"

class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;

namespace lectoria::ui {

class CProgressCtrlStart;
class CSpecialListBox;
class CVolumeControl;
class HalftoneBand;
class IVolume;
class TitleBar;

/// The controls of the client area the arranger places, by role.
struct ClientControls
{
    QWidget* client = nullptr;
    TitleBar* titleBar = nullptr;
    HalftoneBand* band = nullptr;
    std::function<QPushButton*(int id)> button;
    QComboBox* repeatList = nullptr;
    QComboBox* intervalList = nullptr;
    QLabel* repeatCaption = nullptr;
    QLabel* intervalCaption = nullptr;
    QComboBox* speedList = nullptr;
    QLabel* speedCaption = nullptr;
    QPushButton* shadowButton = nullptr;
    QLineEdit* statusLine = nullptr;
    CSpecialListBox* list = nullptr;
    QTextEdit* wholePane = nullptr;
    QTextEdit* currentPane = nullptr;
    QPlainTextEdit* grammarPane = nullptr;
    CProgressCtrlStart* progress = nullptr;
};

/// Where the panes stand: places every control from the stored proportions (PaneLayout's
/// arithmetic), and follows the pointer for the splitter drags, the edge strips that bring a
/// hidden pane back, the pane toggles and full-screen view, and the volume popup.
class PaneArranger : public QObject
{
    Q_OBJECT

public:
    PaneArranger(settings::Settings& settings, const ClientControls& controls, IVolume& volume,
                 QObject* parent = nullptr);

    /// The flags with the proportions as the settings keep them.
    PaneState state() const;
    const PaneLayout& layout() const { return m_layout; }
    CVolumeControl* volumePopup() const { return m_volumePopup; }

    /// Places every control for the client area's current size.
    void Layout();
    /// F5 list, F6 grammar, F7 whole-sentence pane on or off; F8 the full-screen view.
    void TogglePane(int key);
    /// Splitter drags and the client menu's right click on the client area itself; true when the
    /// event was used.
    bool HandleClientMouse(QEvent* event);
    /// A pointer move anywhere in the window: the edge strips and the volume popup follow it.
    void TrackPointer(const QPoint& globalPos);
    /// A left double-click on a pane's viewport hides that pane (the current sentence switches the
    /// full-screen view); true when `viewport` is one of them.
    bool ToggleByDoubleClick(const QWidget* viewport);
    void ShowVolumePopup();
    void HideVolumePopup();

signals:
    /// Every control stands in its new place (the window repaints what depends on sizes).
    void laidOut();
    /// A right click on the bottom bar.
    void clientMenuRequested(QPoint globalPos);

private:
    /// Keeps what a toggle or a drop changed: the flags here, the proportions in the settings.
    void Keep(const PaneState& state);

    settings::Settings& m_settings;
    ClientControls m_controls;
    IVolume& m_volume;
    PaneFlags m_flags;
    PaneLayout m_layout;
    DragKind m_dragKind = DragKind::None;
    bool m_isDragging = false;
    CVolumeControl* m_volumePopup = nullptr;
};

} // namespace lectoria::ui
