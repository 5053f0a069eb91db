// The "跟读对比" picture as drawn: the model's and the learner's speech begin at the same place
// whatever their silences before it, a lane without a recording says so, the headings give lengths.
#include <cmath>
#include <numbers>
#include <optional>

#include <QImage>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "SpeechPicture.h"
#include "SpeechPictureDlg.h"

using namespace lectoria;
using ui::SpeechPicture;

namespace {

constexpr int kRate = 16000;

/// Silence, a steady tone, silence.
lectoria::import::PcmAudio Burst(int leadMs, int toneMs, int tailMs, double hz)
{
    lectoria::import::PcmAudio pcm{kRate,
                                   std::vector<std::int16_t>(static_cast<std::size_t>(kRate) * leadMs / 1000, 0)};
    for (int i = 0; i < kRate * toneMs / 1000; ++i) {
        pcm.samples.push_back(static_cast<std::int16_t>(12000 * std::sin(2 * std::numbers::pi * hz * i / kRate)));
    }
    pcm.samples.insert(pcm.samples.end(), static_cast<std::size_t>(kRate) * tailMs / 1000, 0);
    return pcm;
} // namespace

/// The first and last column of the lane's waveform area holding its waveform's colour.
std::optional<std::pair<int, int>> WaveExtent(const QImage& image, const SpeechPicture& picture,
                                              SpeechPicture::Lane lane)
{
    const QRect area = picture.waveRect(lane);
    const QRgb wave = picture.waveColour(lane).rgb();
    std::optional<std::pair<int, int>> extent;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (image.pixel(x, y) == wave) {
                extent = extent ? std::pair{extent->first, x} : std::pair{x, x};
                break;
            }
        }
    }
    return extent;
}

/// Pixels of the area that are (nearly) the given colour, as text drawn smoothly leaves some.
int PixelsLike(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <
                24) {
                ++count;
            }
        }
    }
    return count;
}

ui::SpeechPictureColours Dark()
{
    ui::SpeechPictureColours colours;
    colours.text = QColor(0xe8, 0xe8, 0xe0);
    colours.background = QColor(0x1c, 0x22, 0x2a);
    return colours;
}

TEST(SpeechPicture, SpeechBeginsAtTheSameXInBothLanes)
{
    // The learner waits 800 ms before speaking and speaks 300 ms longer; the model starts at 300 ms.
    const import::PcmAudio model = Burst(300, 1200, 300, 220);
    const import::PcmAudio learner = Burst(800, 1500, 900, 200);
    struct Case
    {
        const char* name;
        ui::SpeechPictureColours colours;
        QSize size;
    };
    const std::vector<Case> cases = {
        {"light, wide", ui::SpeechPictureColours(), QSize(900, 420)},
        {"dark, small", Dark(), QSize(520, 300)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeechPicture picture;
        picture.SetColours(c.colours);
        picture.SetModel(model);
        picture.SetRecording(learner);
        picture.resize(c.size);
        const QImage image = picture.grab().toImage();
        EXPECT_EQ(image.pixelColor(1, 1), c.colours.background);

        const auto modelWave = WaveExtent(image, picture, SpeechPicture::ModelLane);
        const auto learnerWave = WaveExtent(image, picture, SpeechPicture::LearnerLane);
        ASSERT_TRUE(modelWave && learnerWave);
        EXPECT_NEAR(modelWave->first, learnerWave->first, 1);
        // The axis runs from the learner's start (the longer wait) to its end, 3200 ms: both
        // begin speaking a quarter of the way along, and the learner ends 300 ms after the model.
        const QRect area = picture.waveRect(SpeechPicture::ModelLane);
        const double perMs = area.width() / 3200.0;
        EXPECT_NEAR(modelWave->first, area.left() + 800 * perMs, 2);
        EXPECT_NEAR(modelWave->second, area.left() + 2000 * perMs, 2);
        EXPECT_NEAR(learnerWave->second, area.left() + 2300 * perMs, 2);
        EXPECT_EQ(picture.waveRect(SpeechPicture::LearnerLane).left(), area.left());
    }
}

TEST(SpeechPicture, ANewRecordingIsLinedUpAgainAndARedrawAfterResizingKeepsItSo)
{
    SpeechPicture picture;
    picture.SetModel(Burst(500, 1000, 200, 180));
    picture.SetRecording(Burst(100, 1000, 200, 180));
    picture.resize(700, 360);
    picture.SetRecording(Burst(1300, 800, 1000, 180));
    for (const QSize size : {QSize(700, 360), QSize(1100, 500)}) {
        picture.resize(size);
        const QImage image = picture.grab().toImage();
        const auto modelWave = WaveExtent(image, picture, SpeechPicture::ModelLane);
        const auto learnerWave = WaveExtent(image, picture, SpeechPicture::LearnerLane);
        ASSERT_TRUE(modelWave && learnerWave);
        EXPECT_NEAR(modelWave->first, learnerWave->first, 1);
        const QRect area = picture.waveRect(SpeechPicture::ModelLane);
        EXPECT_NEAR(learnerWave->first, area.left() + area.width() * 1300.0 / 3100.0, 2);
    }
}

TEST(SpeechPictureDlg, ALaneWithoutARecordingSaysSo)
{
    const ui::SpeechPictureColours colours = Dark();
    ui::SpeechPictureDlg dialog(QStringLiteral("Would you like a cup of tea?"), Burst(300, 1200, 300, 220),
                                lectoria::import::PcmAudio{}, colours);
    dialog.resize(900, 560);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("跟读对比"));
    EXPECT_EQ(dialog.sentenceLabel()->text(), QStringLiteral("Would you like a cup of tea?"));

    SpeechPicture& picture = *dialog.picture();
    EXPECT_EQ(picture.laneMessage(SpeechPicture::LearnerLane), QStringLiteral("还没有跟读录音"));
    EXPECT_EQ(picture.laneLabel(SpeechPicture::LearnerLane), QStringLiteral("跟读"));
    EXPECT_TRUE(picture.laneMessage(SpeechPicture::ModelLane).isEmpty());
    QImage image = picture.grab().toImage();
    const QRect lane = picture.waveRect(SpeechPicture::LearnerLane);
    // The message is written in the middle of the empty lane, and nothing else is drawn there.
    const QRect middle(lane.center().x() - lane.width() / 4, lane.center().y() - 20, lane.width() / 2, 40);
    EXPECT_GT(PixelsLike(image, middle, colours.text), 30);
    EXPECT_EQ(PixelsLike(image, lane, picture.waveColour(SpeechPicture::LearnerLane)), 0);
    EXPECT_TRUE(WaveExtent(image, picture, SpeechPicture::ModelLane));

    // A recording arrives: the message goes and the waveform comes.
    dialog.SetRecording(Burst(600, 1400, 500, 200));
    EXPECT_TRUE(picture.laneMessage(SpeechPicture::LearnerLane).isEmpty());
    image = picture.grab().toImage();
    EXPECT_TRUE(WaveExtent(image, picture, SpeechPicture::LearnerLane));
}

TEST(SpeechPicture, HeadingsGiveTheSpokenLengthInSeconds)
{
    struct Case
    {
        int leadMs;
        int toneMs;
        int tailMs;
        QString model;
        QString learner;
    };
    // The silence before and after the speech does not count.
    const std::vector<Case> cases = {
        {300, 2430, 300, QStringLiteral("范读 2.4 秒"), QStringLiteral("跟读 2.9 秒")},
        {0, 1270, 1000, QStringLiteral("范读 1.3 秒"), QStringLiteral("跟读 2.9 秒")},
        {2000, 640, 0, QStringLiteral("范读 0.6 秒"), QStringLiteral("跟读 2.9 秒")},
    };
    for (const Case& c : cases) {
        SpeechPicture picture;
        picture.SetModel(Burst(c.leadMs, c.toneMs, c.tailMs, 150));
        picture.SetRecording(Burst(900, 2870, 1000, 150));
        EXPECT_EQ(picture.laneLabel(SpeechPicture::ModelLane), c.model);
        EXPECT_EQ(picture.laneLabel(SpeechPicture::LearnerLane), c.learner);
    }
    // A recording in which nobody spoke shows its whole length.
    SpeechPicture silent;
    silent.SetRecording(Burst(1700, 0, 0, 150));
    EXPECT_EQ(silent.laneLabel(SpeechPicture::LearnerLane), QStringLiteral("跟读 1.7 秒"));
}

TEST(SpeechPicture, ASilentRecordingIsDrawnQuietNotScaledUpToLookLikeSpeech)
{
    SpeechPicture picture;
    picture.resize(800, 400);
    picture.SetModel(Burst(200, 1000, 200, 180));
    lectoria::import::PcmAudio silent{kRate, std::vector<std::int16_t>(kRate * 2, 0)};
    for (std::size_t i = 0; i < silent.samples.size(); i += 7) {
        silent.samples[i] = 3; // the hiss of a quiet room, far below speech
    }
    picture.SetRecording(silent);
    const QImage image = picture.grab().toImage();

    const QRect learner = picture.waveRect(SpeechPicture::LearnerLane);
    const QRect upperHalf(learner.left(), learner.top(), learner.width(), learner.height() / 2);
    EXPECT_EQ(PixelsLike(image, upperHalf, ui::SpeechPictureColours().learner), 0)
        << "the loudness line of silence stays at the bottom";
    EXPECT_EQ(PixelsLike(image, upperHalf, picture.waveColour(SpeechPicture::LearnerLane)), 0)
        << "the waveform of silence stays flat";
    const QRect model = picture.waveRect(SpeechPicture::ModelLane);
    const QRect modelUpperHalf(model.left(), model.top(), model.width(), model.height() / 2);
    EXPECT_GT(PixelsLike(image, modelUpperHalf, ui::SpeechPictureColours().model), 0) << "speech still reaches the top";
}

} // namespace
