#pragma once

#include <QRect>
#include <QWidget>

#include "settings/Settings.h"

class QSlider;
class QTimer;

namespace lectoria::platform {
class ISentencePlayer;
}

namespace lectoria::ui {

/// The two channel volumes of the output, each 0 … 65535.
struct ChannelVolume
{
    int left = 0;
    int right = 0;

    bool operator==(const ChannelVolume&) const = default;
};

/// The output volume the popup reads and sets; a fake stands in for it in tests.
class IVolume
{
public:
    virtual ~IVolume() = default;
    virtual ChannelVolume Get() const = 0;
    virtual void Set(ChannelVolume volume) = 0;
};

/// The player's output volume seen as two channels. The player has one linear volume
/// (0.0 … 1.0) for both: 65535 is 1.0, and setting two different channels takes their mean.
class PlayerVolume : public IVolume
{
public:
    explicit PlayerVolume(platform::ISentencePlayer& player) : m_player(player) {}
    ChannelVolume Get() const override;
    void Set(ChannelVolume volume) override;

private:
    platform::ISentencePlayer& m_player;
};

/// 0 … 65535 as a linear volume 0.0 … 1.0, and back (rounded to the nearest step).
float ToLinearVolume(int channel);
int ToChannelVolume(float linear);

inline constexpr int kVolumeMax = 65535;
inline constexpr int kVolumeGrowthStep = 10;
inline constexpr int kVolumeSliderWidth = 25;

/// The popup's rectangle after `step` growth steps: as wide as `target`, 10 × `step` high, its
/// bottom on the target's bottom. The last one may stand up to 9 above the target's top.
QRect VolumeGrowthRect(const QRect& target, int step);
/// True once `step` growth steps have reached the target's top.
bool VolumeGrowthDone(const QRect& target, int step);
/// The slider position for a volume: 65535 − the mean of the two channels (integer division).
int SliderPositionForVolume(ChannelVolume volume);
/// The volume a slider position sets on both channels: 65535 − position.
ChannelVolume VolumeForSliderPosition(int position);

/// The volume popup: a narrow panel that slides up out of the volume area in steps of 10 pixels
/// a millisecond, then shows a vertical slider whose top end is full volume.
///
/// It stands where its target rectangle says, in its parent's coordinates (screen coordinates
/// when it is made a top-level window). As a child of the main window it needs no window
/// manager to place it, which a Wayland session would not allow.
class CVolumeControl : public QWidget
{
    Q_OBJECT

public:
    CVolumeControl(IVolume& volume, QWidget* parent = nullptr);

    /// Where the fully grown popup stands; set before `Start`.
    void SetTargetRect(const QRect& target) { m_target = target; }
    /// Background of the popup and its slider.
    void SetBackgroundColor(settings::Rgb color);
    /// Shows the first 10 pixels at the target's bottom and starts growing.
    void Start();

    /// True from a mouse press on the popup to its release: the popup keeps the mouse so long,
    /// wherever the pointer goes.
    bool isHeld() const { return m_held; }

    const QRect& targetRect() const { return m_target; }
    int stepCount() const { return m_steps; }
    bool isGrown() const { return m_grown; }
    QSlider* slider() const { return m_slider; }

signals:
    /// The mouse button pressed on the popup was released at `globalPos`.
    void released(QPoint globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Grow();
    void OnSliderMoved(int position);

    IVolume& m_volume;
    QRect m_target;
    int m_steps = 0;
    bool m_grown = false;
    bool m_held = false;
    QSlider* m_slider = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace lectoria::ui
