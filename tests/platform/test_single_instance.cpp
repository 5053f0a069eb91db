// Two copies of the program on one profile would write over each other's notes: the second start
// hands over to the first.
#include "SingleInstance.h"

#include <atomic>
#include <thread>

#include <QTest>
#include <gtest/gtest.h>

#include "TempFolder.h"

using lectoria::platform::SingleInstance;

namespace {

TEST(SingleInstance, ASecondStartOnTheSameProfileHandsOverAndAnotherProfileRunsApart)
{
    lectoria::test::TempFolder folder;
    const QString profile = QString::fromStdString((folder.path() / "Lectoria.ini").string());
    SingleInstance first(profile);
    int activations = 0;
    QObject::connect(&first, &SingleInstance::activationRequested, [&activations] { ++activations; });
    ASSERT_EQ(first.Start(), SingleInstance::Outcome::Primary);

    // The second copy blocks while it waits for the answer, as a second process would; the first
    // answers from its event loop.
    std::atomic<int> second{-1};
    std::thread starter([&] {
        SingleInstance other(profile);
        second = static_cast<int>(other.Start());
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.load() >= 0; }, 10000));
    starter.join();
    EXPECT_EQ(second.load(), static_cast<int>(SingleInstance::Outcome::HandedOver));
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations == 1; }, 2000));

    SingleInstance elsewhere(QString::fromStdString((folder.path() / "Other.ini").string()));
    EXPECT_EQ(elsewhere.Start(), SingleInstance::Outcome::Primary);
}

} // namespace
