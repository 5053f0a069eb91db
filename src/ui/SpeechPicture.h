#pragma once

#include <array>
#include <vector>

#include <QColor>
#include <QWidget>

#include "audio/SpeechProfile.h"
#include "import/MediaInterfaces.h"

namespace lectoria::ui {

/// The colours of the speech picture: the window's text and background, and one colour for each
/// recording, chosen to read well on a light and on a dark background.
struct SpeechPictureColours
{
    QColor text = QColor(0x20, 0x20, 0x20);
    QColor background = QColor(0xff, 0xff, 0xff);
    QColor model = QColor(0x2f, 0x7c, 0xd6);
    QColor learner = QColor(0xe0, 0x6c, 0x1a);
};

/// Two recordings drawn one above the other on one time axis, lined up where their speech starts:
/// each lane with its waveform, loudness, pitch and spoken length. Everything but the waveform's
/// columns is worked out when a recording is set.
class SpeechPicture : public QWidget
{
public:
    enum Lane
    {
        ModelLane = 0,
        LearnerLane = 1
    };

    explicit SpeechPicture(QWidget* parent = nullptr);

    void SetColours(const SpeechPictureColours& colours);
    void SetModel(const import::PcmAudio& model);
    /// The learner's recording; an empty one means there is none yet.
    void SetRecording(const import::PcmAudio& learner);

    /// What the lane's heading says, such as "范读 2.4 秒".
    QString laneLabel(Lane lane) const;
    /// What stands in a lane without a recording, else empty.
    QString laneMessage(Lane lane) const;
    /// Where the lane's waveform is drawn.
    QRect waveRect(Lane lane) const;
    /// The colour of the lane's waveform, drawn without blending.
    QColor waveColour(Lane lane) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct LaneData
    {
        lectoria::import::PcmAudio pcm;
        audio::SpeechProfile profile;
        std::int64_t offsetMs = 0; ///< where the recording starts on the shared axis
        std::vector<audio::WaveColumn> columns;
    };

    /// A time tick: where it is and what it reads.
    struct Tick
    {
        int x = 0;
        QString label;
    };

    void SetLane(Lane lane, const import::PcmAudio& pcm);
    void Realign();
    void UpdateColumns();
    bool Present(Lane lane) const;
    QColor LaneColour(Lane lane) const;
    QRect LaneRect(Lane lane) const;
    int Gutter() const;
    double PixelsPerMs() const;
    double XOf(double axisMs) const;
    void PaintLane(QPainter& painter, Lane lane) const;
    void PaintWave(QPainter& painter, Lane lane) const;
    void PaintCurves(QPainter& painter, Lane lane) const;
    std::vector<Tick> Ticks() const;
    void PaintTimeGrid(QPainter& painter) const;
    void PaintTimeAxis(QPainter& painter) const;

    SpeechPictureColours m_colours;
    std::array<LaneData, 2> m_lanes;
    std::int64_t m_axisMs = 0;        ///< the shared axis' length
    std::int64_t m_speechAxisMs = -1; ///< where speech starts on it, -1 when neither has speech
};

} // namespace lectoria::ui
