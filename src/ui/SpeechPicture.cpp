#include "SpeechPicture.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "audio/SpeechAnalysis.h"

namespace lectoria::ui {

namespace {

/// Where a pitch stands on the lane's pitch scale, 0 at the bottom to 1 at the top: logarithmic as
/// the ear hears pitch, over the range the pitch tracker reports.
double PitchShare(double hz)
{
    return std::clamp(std::log(hz / audio::kLowestPitchHz) / std::log(audio::kHighestPitchHz / audio::kLowestPitchHz),
                      0.0, 1.0);
}

constexpr int kMargin = 8;
constexpr int kLaneGap = 12;
// The loudness line spans this many decibels below the lane's loudest moment.
constexpr double kLoudnessRangeDb = 50.0;
// The top of the loudness line is never below this: a silent or whispered recording stays low
// instead of being scaled up to look as loud as speech.
constexpr double kQuietestTopDb = -25.0;
// The lines drawn across the pitch scale.
constexpr int kHzLines[] = {100, 200, 300};
// Time ticks are at least this far apart, in pixels, and a step from this list.
constexpr int kTickSpacing = 64;
constexpr int kTickSteps[] = {100, 200, 500, 1000, 2000, 5000, 10000, 20000, 60000};

QColor Mix(const QColor& from, const QColor& to, double share)
{
    const auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue()));
}

QFont Larger(QFont font, double factor, bool bold)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    return font;
}

} // namespace

SpeechPicture::SpeechPicture(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SpeechPicture::SetColours(const SpeechPictureColours& colours)
{
    m_colours = colours;
    update();
}

void SpeechPicture::SetModel(const import::PcmAudio& model)
{
    SetLane(ModelLane, model);
}

void SpeechPicture::SetRecording(const import::PcmAudio& learner)
{
    SetLane(LearnerLane, learner);
}

void SpeechPicture::SetLane(Lane lane, const import::PcmAudio& pcm)
{
    LaneData& entry = m_lanes[lane];
    entry.pcm = pcm;
    entry.profile = audio::ProfileSpeech(pcm);
    Realign();
}

bool SpeechPicture::Present(Lane lane) const
{
    return m_lanes[lane].profile.durationMs > 0;
}

void SpeechPicture::Realign()
{
    std::vector<const audio::SpeechProfile*> present;
    for (const Lane lane : {ModelLane, LearnerLane}) {
        if (Present(lane)) {
            present.push_back(&m_lanes[lane].profile);
        }
    }
    const audio::SharedAxis axis = audio::AlignAtSpeechStart(present);
    m_axisMs = axis.lengthMs;
    m_speechAxisMs = -1;
    std::size_t next = 0;
    for (const Lane lane : {ModelLane, LearnerLane}) {
        LaneData& entry = m_lanes[lane];
        entry.offsetMs = Present(lane) ? axis.offsetsMs[next++] : 0;
        if (Present(lane) && entry.profile.speech.found()) {
            m_speechAxisMs = entry.offsetMs + entry.profile.speech.startMs;
        }
    }
    UpdateColumns();
    update();
}

void SpeechPicture::resizeEvent(QResizeEvent*)
{
    UpdateColumns();
}

void SpeechPicture::UpdateColumns()
{
    for (const Lane lane : {ModelLane, LearnerLane}) {
        LaneData& entry = m_lanes[lane];
        const int width = waveRect(lane).width();
        entry.columns =
            Present(lane) && m_axisMs > 0 && width > 0
                ? audio::WaveColumns(entry.pcm, static_cast<double>(-entry.offsetMs), 1.0 / PixelsPerMs(), width)
                : std::vector<audio::WaveColumn>();
    }
}

QString SpeechPicture::laneLabel(Lane lane) const
{
    const QString name = lane == ModelLane ? QStringLiteral("范读") : QStringLiteral("跟读");
    if (!Present(lane)) {
        return name;
    }
    const double seconds = static_cast<double>(m_lanes[lane].profile.spokenMs()) / 1000.0;
    return name + QLatin1Char(' ') + QString::number(seconds, 'f', 1) + QStringLiteral(" 秒");
}

QString SpeechPicture::laneMessage(Lane lane) const
{
    if (Present(lane)) {
        return {};
    }
    return lane == ModelLane ? QStringLiteral("没有范读声音") : QStringLiteral("还没有跟读录音");
}

QColor SpeechPicture::LaneColour(Lane lane) const
{
    return lane == ModelLane ? m_colours.model : m_colours.learner;
}

QColor SpeechPicture::waveColour(Lane lane) const
{
    // Faded towards the background, so the loudness and pitch lines stand out on it.
    return Mix(m_colours.background, LaneColour(lane), 0.42);
}

int SpeechPicture::Gutter() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("300 Hz")) + 12;
}

QRect SpeechPicture::LaneRect(Lane lane) const
{
    const QRect content = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const int axisHeight = fontMetrics().height() + 10;
    const int laneHeight = std::max(0, (content.height() - axisHeight - kLaneGap) / 2);
    return QRect(content.left(), content.top() + lane * (laneHeight + kLaneGap), content.width(), laneHeight);
}

QRect SpeechPicture::waveRect(Lane lane) const
{
    const int heading = QFontMetrics(Larger(font(), 1.15, true)).height() + 6;
    return LaneRect(lane).adjusted(Gutter(), heading, 0, 0);
}

double SpeechPicture::PixelsPerMs() const
{
    return m_axisMs > 0 ? waveRect(ModelLane).width() / static_cast<double>(m_axisMs) : 0.0;
}

double SpeechPicture::XOf(double axisMs) const
{
    return waveRect(ModelLane).left() + axisMs * PixelsPerMs();
}

QSize SpeechPicture::sizeHint() const
{
    return QSize(820, 420);
}

QSize SpeechPicture::minimumSizeHint() const
{
    return QSize(360, 240);
}

void SpeechPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colours.background);
    for (const Lane lane : {ModelLane, LearnerLane}) {
        PaintLane(painter, lane);
    }
    PaintTimeGrid(painter);
    if (m_speechAxisMs >= 0) {
        // Where both begin to speak.
        QPen marker(Mix(m_colours.background, m_colours.text, 0.45), 1, Qt::DashLine);
        painter.setPen(marker);
        const int x = static_cast<int>(std::lround(XOf(static_cast<double>(m_speechAxisMs))));
        for (const Lane lane : {ModelLane, LearnerLane}) {
            if (Present(lane)) {
                painter.drawLine(x, waveRect(lane).top(), x, waveRect(lane).bottom());
            }
        }
    }
    for (const Lane lane : {ModelLane, LearnerLane}) {
        if (Present(lane)) {
            PaintWave(painter, lane);
            PaintCurves(painter, lane);
        }
    }
    PaintTimeAxis(painter);
}

void SpeechPicture::PaintLane(QPainter& painter, Lane lane) const
{
    const QRect wave = waveRect(lane);
    const QRect whole = LaneRect(lane);
    const QColor grid = Mix(m_colours.background, m_colours.text, 0.14);
    const QColor muted = Mix(m_colours.background, m_colours.text, 0.6);
    painter.fillRect(wave, Mix(m_colours.background, m_colours.text, 0.035));

    // The heading: a swatch of the lane's colour and its name with the spoken length.
    const QFont heading = Larger(font(), 1.15, true);
    const int headingHeight = wave.top() - whole.top();
    const int swatch = QFontMetrics(heading).ascent() - 2;
    painter.fillRect(QRect(wave.left(), whole.top() + (headingHeight - swatch) / 2 - 1, swatch, swatch),
                     LaneColour(lane));
    painter.setFont(heading);
    painter.setPen(m_colours.text);
    painter.drawText(QRect(wave.left() + swatch + 6, whole.top(), wave.width(), headingHeight - 2),
                     Qt::AlignLeft | Qt::AlignVCenter, laneLabel(lane));
    painter.setFont(font());

    if (!Present(lane)) {
        painter.setFont(Larger(font(), 1.3, false));
        painter.setPen(m_colours.text);
        painter.drawText(wave, Qt::AlignCenter, laneMessage(lane));
        painter.setFont(font());
        return;
    }
    for (const int hz : kHzLines) {
        const int y = wave.bottom() - static_cast<int>(std::lround(PitchShare(hz) * wave.height()));
        painter.setPen(QPen(grid, 1, Qt::DotLine));
        painter.drawLine(wave.left(), y, wave.right(), y);
        painter.setPen(muted);
        const QString label =
            hz == kHzLines[std::size(kHzLines) - 1] ? QStringLiteral("%1 Hz").arg(hz) : QString::number(hz);
        painter.drawText(QRect(whole.left(), y - 20, Gutter() - 6, 40), Qt::AlignRight | Qt::AlignVCenter, label);
    }
}

void SpeechPicture::PaintWave(QPainter& painter, Lane lane) const
{
    const LaneData& entry = m_lanes[lane];
    const QRect wave = waveRect(lane);
    const double middle = wave.top() + wave.height() / 2.0;
    const double half = wave.height() / 2.0 - 3;

    // Where the recording lasts, silent or not.
    painter.setPen(Mix(m_colours.background, m_colours.text, 0.22));
    painter.drawLine(QPointF(XOf(static_cast<double>(entry.offsetMs)), middle),
                     QPointF(XOf(static_cast<double>(entry.offsetMs + entry.profile.durationMs)), middle));
    if (entry.profile.peak <= 0) {
        return;
    }
    // Each lane is scaled to its own loudest sample, so a quiet microphone still shows a shape; but
    // never further than speech at the quietest top of the loudness line, or silence would fill it.
    const double quietestPeak = std::pow(10.0, kQuietestTopDb / 20.0);
    const double scale = half / std::max(static_cast<double>(entry.profile.peak), quietestPeak);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(waveColour(lane));
    for (std::size_t c = 0; c < entry.columns.size(); ++c) {
        const audio::WaveColumn& column = entry.columns[c];
        if (!column.inAudio || (column.high - column.low) * scale < 1.0) {
            continue;
        }
        const int x = wave.left() + static_cast<int>(c);
        painter.drawLine(x, static_cast<int>(std::lround(middle - column.high * scale)), x,
                         static_cast<int>(std::lround(middle - column.low * scale)));
    }
}

void SpeechPicture::PaintCurves(QPainter& painter, Lane lane) const
{
    const LaneData& entry = m_lanes[lane];
    const audio::SpeechProfile& profile = entry.profile;
    const QRectF wave = QRectF(waveRect(lane)).adjusted(0, 2, 0, -2);
    const auto xOfHop = [&](std::size_t hop) {
        return XOf(static_cast<double>(entry.offsetMs) + (static_cast<double>(hop) + 0.5) * profile.hopMs);
    };
    painter.setRenderHint(QPainter::Antialiasing, true);

    QPolygonF loudness;
    const double quietest = std::max(static_cast<double>(profile.loudestDb), kQuietestTopDb) - kLoudnessRangeDb;
    for (std::size_t hop = 0; hop < profile.loudnessDb.size(); ++hop) {
        const double share = std::clamp((profile.loudnessDb[hop] - quietest) / kLoudnessRangeDb, 0.0, 1.0);
        loudness << QPointF(xOfHop(hop), wave.bottom() - share * wave.height());
    }
    painter.setPen(QPen(LaneColour(lane), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(loudness);

    // Pitch as runs of line where the voice is steady enough to have one.
    const auto yOfHz = [&](float hz) { return wave.bottom() - PitchShare(hz) * wave.height(); };
    painter.setPen(QPen(m_colours.text, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath pitch;
    bool inRun = false;
    for (std::size_t hop = 0; hop < profile.pitchHz.size(); ++hop) {
        const float hz = profile.pitchHz[hop];
        if (hz <= 0) {
            inRun = false;
            continue;
        }
        const QPointF point(xOfHop(hop), yOfHz(hz));
        if (inRun) {
            pitch.lineTo(point);
        } else {
            pitch.moveTo(point);
            pitch.lineTo(point); // a lone value still shows as a dot
        }
        inRun = true;
    }
    painter.drawPath(pitch);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

std::vector<SpeechPicture::Tick> SpeechPicture::Ticks() const
{
    const double perMs = PixelsPerMs();
    if (perMs <= 0) {
        return {};
    }
    int step = kTickSteps[std::size(kTickSteps) - 1];
    for (const int candidate : kTickSteps) {
        if (candidate * perMs >= kTickSpacing) {
            step = candidate;
            break;
        }
    }
    // Seconds count from where speech starts, so the tick under a lane's end reads its length.
    const std::int64_t zero = std::max<std::int64_t>(0, m_speechAxisMs);
    std::vector<Tick> ticks;
    for (std::int64_t ms = 0; zero + ms <= m_axisMs; ms += step) {
        ticks.push_back({static_cast<int>(std::lround(XOf(static_cast<double>(zero + ms)))),
                         QString::number(static_cast<double>(ms) / 1000.0, 'f', step < 1000 ? 1 : 0)});
    }
    return ticks;
}

void SpeechPicture::PaintTimeGrid(QPainter& painter) const
{
    painter.setPen(Mix(m_colours.background, m_colours.text, 0.14));
    const std::vector<Tick> ticks = Ticks();
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        for (const Lane lane : {ModelLane, LearnerLane}) {
            if (Present(lane)) {
                painter.drawLine(ticks[i].x, waveRect(lane).top(), ticks[i].x, waveRect(lane).bottom());
            }
        }
    }
}

void SpeechPicture::PaintTimeAxis(QPainter& painter) const
{
    const std::vector<Tick> ticks = Ticks();
    if (ticks.empty()) {
        return;
    }
    const QRect learner = LaneRect(LearnerLane);
    const QRect wave = waveRect(LearnerLane);
    const int top = learner.bottom() + 3;
    const int textHeight = fontMetrics().height();
    painter.setPen(Mix(m_colours.background, m_colours.text, 0.6));
    painter.drawText(QRect(learner.left(), top + 4, Gutter() - 6, textHeight), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("秒"));
    for (const Tick& tick : ticks) {
        const int x = tick.x;
        const QString& label = tick.label;
        painter.drawLine(x, top, x, top + 3);
        const int width = fontMetrics().horizontalAdvance(label);
        const int left = std::clamp(x - width / 2, wave.left(), std::max(wave.left(), wave.right() - width));
        painter.drawText(QRect(left, top + 4, width + 2, textHeight), Qt::AlignLeft | Qt::AlignVCenter, label);
    }
}

} // namespace lectoria::ui
