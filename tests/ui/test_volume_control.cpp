// The volume popup: its growth out of the volume area, the slider's arithmetic and the mapping
// onto the player's linear volume.
#include "CVolumeControl.h"

#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include "CMediaPlayer2.h"

using namespace lectoria;
using namespace lectoria::ui;

namespace {

class FakeVolume : public IVolume
{
public:
    ChannelVolume Get() const override { return current; }
    void Set(ChannelVolume volume) override
    {
        current = volume;
        ++sets;
    }

    ChannelVolume current;
    int sets = 0;
};

TEST(VolumeControlTest, GrowsInStepsOfTenUntilItReachesTheTargetTop)
{
    struct Case
    {
        int height;
        int ticks;     // timer ticks after the first 10 pixels shown at creation
        int topOffset; // final top relative to the target's top
    };
    const Case cases[] = {{150, 14, 0}, {155, 15, -5}, {10, 0, 0}, {11, 1, -9}};
    for (const Case& c : cases) {
        const QRect target(40, 300, 32, c.height);
        EXPECT_EQ(VolumeGrowthRect(target, 1), QRect(40, 300 + c.height - 10, 32, 10)) << c.height;
        const int lastStep = 1 + c.ticks;
        EXPECT_TRUE(VolumeGrowthDone(target, lastStep)) << c.height;
        if (c.ticks > 0) {
            EXPECT_FALSE(VolumeGrowthDone(target, lastStep - 1)) << c.height;
        }
        const QRect last = VolumeGrowthRect(target, lastStep);
        EXPECT_EQ(last.y(), 300 + c.topOffset) << c.height;
        EXPECT_EQ(last.y() + last.height(), 300 + c.height) << c.height;
    }
}

TEST(VolumeControlTest, SliderArithmetic)
{
    EXPECT_EQ(SliderPositionForVolume({65535, 0}), 32768);
    EXPECT_EQ(SliderPositionForVolume({65535, 65535}), 0);
    EXPECT_EQ(SliderPositionForVolume({0, 0}), 65535);
    EXPECT_EQ(VolumeForSliderPosition(0), (ChannelVolume{65535, 65535}));
    EXPECT_EQ(VolumeForSliderPosition(65535), (ChannelVolume{0, 0}));
    EXPECT_EQ(VolumeForSliderPosition(1000), (ChannelVolume{64535, 64535}));
}

TEST(VolumeControlTest, ChannelsMapOntoTheLinearVolume)
{
    EXPECT_FLOAT_EQ(ToLinearVolume(65535), 1.0f);
    EXPECT_FLOAT_EQ(ToLinearVolume(0), 0.0f);
    EXPECT_EQ(ToChannelVolume(0.5f), 32768);
    EXPECT_EQ(ToChannelVolume(1.5f), 65535);
    EXPECT_EQ(ToChannelVolume(-0.1f), 0);
    for (int channel : {0, 1, 255, 32767, 32768, 50000, 65534, 65535}) {
        EXPECT_EQ(ToChannelVolume(ToLinearVolume(channel)), channel);
    }
}

TEST(VolumeControlTest, PlayerVolumeTakesTheMeanOfBothChannels)
{
    platform::CMediaPlayer2 player;
    PlayerVolume volume(player);
    volume.Set({65535, 65535});
    EXPECT_FLOAT_EQ(player.volume(), 1.0f);
    EXPECT_EQ(volume.Get(), (ChannelVolume{65535, 65535}));
    volume.Set({65535, 0});
    EXPECT_EQ(volume.Get(), (ChannelVolume{32767, 32767}));
    volume.Set({0, 0});
    EXPECT_FLOAT_EQ(player.volume(), 0.0f);
}

TEST(VolumeControlTest, PopupGrowsThenShowsTheSliderAtTheCurrentVolume)
{
    QWidget window;
    window.resize(300, 400);
    window.show();
    FakeVolume volume;
    volume.current = {65535, 0};
    CVolumeControl popup(volume, &window);
    popup.SetBackgroundColor({255, 255, 0});
    const QRect target(120, 100, 40, 150);
    popup.SetTargetRect(target);
    popup.Start();
    EXPECT_EQ(popup.geometry(), QRect(120, 240, 40, 10));
    EXPECT_TRUE(popup.isVisible());
    EXPECT_FALSE(popup.slider()->isVisible());

    ASSERT_TRUE(QTest::qWaitFor([&popup] { return popup.isGrown(); }, 5000));
    EXPECT_EQ(popup.stepCount(), 15);
    EXPECT_EQ(popup.geometry(), target);
    EXPECT_TRUE(popup.slider()->isVisible());
    EXPECT_EQ(popup.slider()->geometry(), QRect(7, 0, 25, 150));
    EXPECT_EQ(popup.slider()->minimum(), 0);
    EXPECT_EQ(popup.slider()->maximum(), 65535);
    EXPECT_EQ(popup.slider()->value(), 32768);
    EXPECT_EQ(volume.sets, 0) << "placing the handle must not set the volume";
    EXPECT_EQ(popup.palette().color(QPalette::Window), QColor(255, 255, 0));
}

TEST(VolumeControlTest, MovingTheSliderSetsBothChannelsAndTheTopIsFullVolume)
{
    QWidget window;
    window.resize(300, 400);
    window.show();
    FakeVolume volume;
    volume.current = {20000, 20000};
    CVolumeControl popup(volume, &window);
    popup.SetTargetRect(QRect(10, 10, 40, 200));
    popup.Start();
    ASSERT_TRUE(QTest::qWaitFor([&popup] { return popup.isGrown(); }, 5000));
    QSlider* slider = popup.slider();

    slider->setValue(0);
    EXPECT_EQ(volume.current, (ChannelVolume{65535, 65535}));

    slider->setValue(65535);
    EXPECT_EQ(volume.current, (ChannelVolume{0, 0}));

    // A click above the handle moves it up, towards full volume.
    slider->setValue(32768);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 4));
    EXPECT_LT(slider->value(), 32768);
    EXPECT_GT(volume.current.left, 32767);

    // Keys move the handle the way it looks: Up raises the volume.
    slider->setValue(40000);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_LT(slider->value(), 40000);
    EXPECT_GT(volume.current.left, 65535 - 40000);
    EXPECT_EQ(volume.current.left, volume.current.right);
}

} // namespace
