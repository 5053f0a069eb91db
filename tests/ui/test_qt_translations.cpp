// Qt's own dialogs speak Chinese like the rest of the program: the buttons of a message box, the
// colour dialog and the folder picker take their texts from Qt's translations.
#include "CParlivoApp.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace lectoria;

namespace {

QStringList ButtonTexts(QWidget& dialog)
{
    QStringList texts;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        texts << button->text().remove(QLatin1Char('&'));
    }
    return texts;
}

TEST(QtTranslations, QtsOwnDialogsShowChinese)
{
    ASSERT_TRUE(ui::InstallQtTranslations(*qApp)) << "qt6-translations-l10n is not installed";

    QMessageBox box(QMessageBox::Question, QStringLiteral("Lectoria"), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Retry);
    const QStringList boxTexts = ButtonTexts(box);
    EXPECT_TRUE(boxTexts.contains(QStringLiteral("确定"))) << boxTexts.join(u'|').toStdString();
    EXPECT_TRUE(boxTexts.contains(QStringLiteral("取消"))) << boxTexts.join(u'|').toStdString();
    EXPECT_TRUE(boxTexts.contains(QStringLiteral("重试"))) << boxTexts.join(u'|').toStdString();

    QColorDialog colours;
    colours.setOption(QColorDialog::DontUseNativeDialog);
    QStringList labels;
    for (const QLabel* label : colours.findChildren<QLabel*>()) {
        labels << label->text();
    }
    EXPECT_TRUE(labels.join(u'|').contains(QStringLiteral("基本颜色"))) << labels.join(u'|').toStdString();

    QFileDialog folders;
    folders.setOption(QFileDialog::DontUseNativeDialog);
    folders.setFileMode(QFileDialog::Directory);
    const QStringList folderTexts = ButtonTexts(folders);
    EXPECT_TRUE(folderTexts.contains(QStringLiteral("取消"))) << folderTexts.join(u'|').toStdString();
}

} // namespace
