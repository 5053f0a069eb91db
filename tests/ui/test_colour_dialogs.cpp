// The two colour dialogs: their samples, picking, OK and Cancel.
#include "CSetEditColorDlg.h"
#include "CSetListColorDlg.h"

#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace lectoria;
using namespace lectoria::ui;

namespace {

// Hands out the given colours in turn and records what each request started from.
struct ScriptedPicker
{
    std::vector<std::optional<QColor>> answers;
    std::vector<QColor> initials;

    ColorPicker Picker()
    {
        return [this](const QColor& initial, QWidget*) -> std::optional<QColor> {
            initials.push_back(initial);
            if (answers.empty()) {
                return std::nullopt;
            }
            std::optional<QColor> answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
    }
};

// Runs `steps` on the modal dialog once it is up.
template <typename Dialog, typename Steps> void WhenOpen(Steps steps)
{
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        steps(*dialog);
    });
}

QColor BaseOf(const QLineEdit* field)
{
    return field->palette().color(QPalette::Base);
}

QColor TextOf(const QLineEdit* field)
{
    return field->palette().color(QPalette::Text);
}

const EditColors kPane{{0, 0, 255}, {238, 255, 221}};
const ListColors kList{{0, 0, 0}, {219, 255, 200}, {255, 0, 0}};

TEST(EditColorDialogTest, ShowsItsSampleShortlyAfterOpening)
{
    CSetEditColorDlg dialog(kPane);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Edit Color Dialog"));
    EXPECT_EQ(dialog.textButton()->text(), QStringLiteral("前景颜色(&F)"));
    EXPECT_EQ(dialog.backgroundButton()->text(), QStringLiteral("背景颜色(B)"));
    EXPECT_TRUE(dialog.okButton()->isDefault());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.sample()->text().isEmpty(); }, 2000));
    EXPECT_EQ(dialog.sample()->text(), QStringLiteral("    GAMES AND PLAY ARE KELVARO'S FAVOURITE"));
    EXPECT_EQ(dialog.textSwatch()->text(), QString(20, QLatin1Char(' ')));
    EXPECT_EQ(dialog.backgroundSwatch()->text(), QString(20, QLatin1Char(' ')));
    EXPECT_EQ(dialog.sample()->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(dialog.sample()->font().pixelSize(), 14);
    EXPECT_EQ(BaseOf(dialog.textSwatch()), QColor(0, 0, 255));
    EXPECT_EQ(BaseOf(dialog.backgroundSwatch()), QColor(238, 255, 221));
    EXPECT_EQ(TextOf(dialog.sample()), QColor(0, 0, 255));
    EXPECT_EQ(BaseOf(dialog.sample()), QColor(238, 255, 221));
}

TEST(EditColorDialogTest, OkReturnsThePickedColoursAndCancelLeavesTheCallersColours)
{
    ScriptedPicker picker{{QColor(10, 20, 30), QColor(40, 50, 60)}, {}};
    WhenOpen<CSetEditColorDlg>([](CSetEditColorDlg& dialog) {
        dialog.textButton()->click();
        dialog.backgroundButton()->click();
        EXPECT_EQ(TextOf(dialog.sample()), QColor(10, 20, 30));
        EXPECT_EQ(BaseOf(dialog.sample()), QColor(40, 50, 60));
        dialog.okButton()->click();
    });
    const std::optional<EditColors> picked = CSetEditColorDlg::Edit(kPane, nullptr, picker.Picker());
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (EditColors{{10, 20, 30}, {40, 50, 60}}));
    // Each picker starts from the colour it changes.
    ASSERT_EQ(picker.initials.size(), 2u);
    EXPECT_EQ(picker.initials[0], QColor(0, 0, 255));
    EXPECT_EQ(picker.initials[1], QColor(238, 255, 221));

    ScriptedPicker again{{QColor(10, 20, 30), QColor(40, 50, 60)}, {}};
    WhenOpen<CSetEditColorDlg>([](CSetEditColorDlg& dialog) {
        dialog.textButton()->click();
        dialog.backgroundButton()->click();
        EXPECT_EQ(dialog.colors(), (EditColors{{10, 20, 30}, {40, 50, 60}}));
        dialog.cancelButton()->click();
    });
    EXPECT_FALSE(CSetEditColorDlg::Edit(kPane, nullptr, again.Picker()).has_value());
}

TEST(EditColorDialogTest, ACancelledPickerKeepsTheColour)
{
    ScriptedPicker picker{{std::nullopt, QColor(1, 2, 3)}, {}};
    WhenOpen<CSetEditColorDlg>([](CSetEditColorDlg& dialog) {
        dialog.textButton()->click();
        dialog.textButton()->click();
        dialog.okButton()->click();
    });
    const std::optional<EditColors> picked = CSetEditColorDlg::Edit(kPane, nullptr, picker.Picker());
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (EditColors{{1, 2, 3}, kPane.background}));
    ASSERT_EQ(picker.initials.size(), 2u);
    EXPECT_EQ(picker.initials[1], QColor(0, 0, 255));
}

TEST(ListColorDialogTest, ShowsTheTextAndLineSamples)
{
    CSetListColorDlg dialog(kList);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set List Color Dialog"));
    EXPECT_EQ(dialog.textButton()->text(), QStringLiteral("前景颜色"));
    EXPECT_EQ(dialog.backgroundButton()->text(), QStringLiteral("背景颜色"));
    EXPECT_EQ(dialog.lineButton()->text(), QStringLiteral("线条颜色"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.textSample()->text().isEmpty(); }, 2000));
    EXPECT_EQ(dialog.textSample()->text(), QStringLiteral("   GAMES AND PLAY ARE KELVARO'S FAVOURITE"));
    EXPECT_EQ(dialog.lineSample()->text(), QString(65, QLatin1Char('-')));
    for (const QLineEdit* swatch : {dialog.textSwatch(), dialog.backgroundSwatch(), dialog.lineSwatch()}) {
        EXPECT_EQ(swatch->text(), QString(44, QLatin1Char(' ')));
    }
    EXPECT_EQ(dialog.textSample()->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(dialog.textSample()->font().pixelSize(), 20);
    // Only the text sample takes the large font.
    EXPECT_NE(dialog.lineSample()->font().pixelSize(), 20);
    EXPECT_EQ(BaseOf(dialog.lineSwatch()), QColor(255, 0, 0));
    EXPECT_EQ(TextOf(dialog.textSample()), QColor(0, 0, 0));
    EXPECT_EQ(BaseOf(dialog.textSample()), QColor(219, 255, 200));
    EXPECT_EQ(TextOf(dialog.lineSample()), QColor(255, 0, 0));
    EXPECT_EQ(BaseOf(dialog.lineSample()), QColor(219, 255, 200));
}

TEST(ListColorDialogTest, OkReturnsThePickedColoursAndCancelLeavesTheCallersColours)
{
    ScriptedPicker picker{{QColor(1, 1, 1), QColor(2, 2, 2), QColor(3, 3, 3)}, {}};
    WhenOpen<CSetListColorDlg>([](CSetListColorDlg& dialog) {
        dialog.lineButton()->click();
        dialog.textButton()->click();
        dialog.backgroundButton()->click();
        EXPECT_EQ(TextOf(dialog.lineSample()), QColor(1, 1, 1));
        dialog.okButton()->click();
    });
    const std::optional<ListColors> picked = CSetListColorDlg::Edit(kList, nullptr, picker.Picker());
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, (ListColors{{2, 2, 2}, {3, 3, 3}, {1, 1, 1}}));
    ASSERT_EQ(picker.initials.size(), 3u);
    EXPECT_EQ(picker.initials[0], QColor(255, 0, 0));

    ScriptedPicker again{{QColor(1, 1, 1)}, {}};
    WhenOpen<CSetListColorDlg>([](CSetListColorDlg& dialog) {
        dialog.lineButton()->click();
        dialog.cancelButton()->click();
    });
    EXPECT_FALSE(CSetListColorDlg::Edit(kList, nullptr, again.Picker()).has_value());
}

} // namespace
