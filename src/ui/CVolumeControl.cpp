#include "CVolumeControl.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include "ButtonStyle.h"
#include "MediaModule.h"

namespace lectoria::ui {

float ToLinearVolume(int channel)
{
    return static_cast<float>(std::clamp(channel, 0, kVolumeMax)) / static_cast<float>(kVolumeMax);
}

int ToChannelVolume(float linear)
{
    return static_cast<int>(std::lround(std::clamp(linear, 0.0f, 1.0f) * static_cast<float>(kVolumeMax)));
}

ChannelVolume PlayerVolume::Get() const
{
    const int channel = ToChannelVolume(m_player.volume());
    return ChannelVolume{channel, channel};
}

void PlayerVolume::Set(ChannelVolume volume)
{
    m_player.setVolume(ToLinearVolume((volume.left + volume.right) / 2));
}

QRect VolumeGrowthRect(const QRect& target, int step)
{
    const int bottom = target.y() + target.height();
    return QRect(target.x(), bottom - kVolumeGrowthStep * step, target.width(), kVolumeGrowthStep * step);
}

bool VolumeGrowthDone(const QRect& target, int step)
{
    return target.y() + target.height() - kVolumeGrowthStep * step <= target.y();
}

int SliderPositionForVolume(ChannelVolume volume)
{
    return kVolumeMax - (volume.left + volume.right) / 2;
}

ChannelVolume VolumeForSliderPosition(int position)
{
    const int channel = kVolumeMax - position;
    return ChannelVolume{channel, channel};
}

CVolumeControl::CVolumeControl(IVolume& volume, QWidget* parent) : QWidget(parent), m_volume(volume)
{
    setAutoFillBackground(true);
    m_slider = new QSlider(Qt::Vertical, this);
    m_slider->setObjectName(QStringLiteral("Slider1"));
    m_slider->setTickPosition(QSlider::NoTicks);
    // Position 0 stands at the top, as on the slider the positions were defined for; the keys
    // and the wheel move the handle the way it looks.
    m_slider->setInvertedAppearance(true);
    m_slider->setInvertedControls(true);
    m_slider->setSingleStep(kVolumeMax / 64);
    m_slider->setPageStep(kVolumeMax / 8);
    m_slider->setAutoFillBackground(true);
    m_slider->setToolTip(QStringLiteral("声音大小"));
    m_slider->hide();
    m_slider->installEventFilter(this);
    installEventFilter(this);
    connect(m_slider, &QSlider::valueChanged, this, &CVolumeControl::OnSliderMoved);

    m_timer = new QTimer(this);
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, &CVolumeControl::Grow);
    hide();
}

void CVolumeControl::SetBackgroundColor(settings::Rgb color)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(color.red, color.green, color.blue));
    setPalette(palette);
    m_slider->setPalette(palette);
    // The volume level fills the groove from the bottom up to the handle, in colours that stand
    // out on the background.
    const bool dark = IsDarkColor(color);
    const QString ink = dark ? QStringLiteral("#ffffff") : QStringLiteral("#1f2d3d");
    const QString level = dark ? QStringLiteral("#ffd54a") : QStringLiteral("#d9480f");
    m_slider->setStyleSheet(
        QStringLiteral("QSlider::groove:vertical { width: 6px; border-radius: 3px; background: %3; }\n"
                       "QSlider::sub-page:vertical { width: 6px; border-radius: 3px; background: %3; }\n"
                       "QSlider::add-page:vertical { width: 6px; border-radius: 3px; background: %2; }\n"
                       "QSlider::handle:vertical { height: 12px; margin: 0 -6px; border-radius: 4px; "
                       "background: %1; }\n")
            .arg(ink, level, dark ? QStringLiteral("rgba(255, 255, 255, 70)") : QStringLiteral("rgba(0, 0, 0, 50)")));
}

void CVolumeControl::Start()
{
    m_steps = 1;
    m_grown = false;
    m_slider->hide();
    setGeometry(VolumeGrowthRect(m_target, m_steps));
    show();
    raise();
    m_timer->start();
}

void CVolumeControl::Grow()
{
    ++m_steps;
    setGeometry(VolumeGrowthRect(m_target, m_steps));
    if (!VolumeGrowthDone(m_target, m_steps)) {
        return;
    }
    m_timer->stop();
    m_slider->setGeometry((width() - kVolumeSliderWidth) / 2, 0, kVolumeSliderWidth, height());
    {
        // Placing the handle is not a move by the user; it must not set the volume.
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(0, kVolumeMax);
        m_slider->setValue(SliderPositionForVolume(m_volume.Get()));
    }
    m_slider->show();
    m_grown = true;
}

bool CVolumeControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        m_held = true;
    } else if (event->type() == QEvent::MouseButtonRelease && m_held) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->buttons() == Qt::NoButton) {
            m_held = false;
            emit released(mouse->globalPosition().toPoint());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVolumeControl::OnSliderMoved(int position)
{
    m_volume.Set(VolumeForSliderPosition(position));
}

} // namespace lectoria::ui
