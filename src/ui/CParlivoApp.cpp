#include "CParlivoApp.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QSessionManager>
#include <QTranslator>

#include "ButtonStyle.h"
#include "CParlivoDlg.h"
#include "QSettingsProfile.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "library/UserLibrary.h"

namespace lectoria::ui {

CParlivoApp::CParlivoApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Lectoria"));
    setOrganizationName(QStringLiteral("Lectoria"));
    setApplicationDisplayName(QStringLiteral("Lectoria"));
    setDesktopFileName(QStringLiteral("io.github.lectoria.Lectoria"));
    InstallQtTranslations(*this);
    EnsureUiResources();
    setWindowIcon(ProgramIcon());
}

bool InstallQtTranslations(QCoreApplication& application)
{
    // Every text of the program is Chinese, so Qt's own dialogs (folder picker, colour dialog,
    // message-box buttons) speak it too, whatever the session's language.
    auto* qtTexts = new QTranslator(&application);
    if (!qtTexts->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qtTexts;
        return false;
    }
    return QCoreApplication::installTranslator(qtTexts);
}

int CParlivoApp::Run()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lectoria：逐句朗读英语课文。"));
    parser.addHelpOption();
    const QCommandLineOption libraryOption(
        QStringLiteral("library"),
        QStringLiteral("打开文件夹 DIR 中的课文库（默认：%1）。")
            .arg(QFile::decodeName(QByteArray::fromStdString(library::UserLibraryDirectory()))),
        QStringLiteral("DIR"));
    parser.addOption(libraryOption);
    parser.process(*this);

    platform::QSettingsProfile profile;
    platform::SingleInstance instance(profile.fileName());
    switch (instance.Start()) {
    case platform::SingleInstance::Outcome::HandedOver:
        return 0;
    case platform::SingleInstance::Outcome::Failed:
        QMessageBox::critical(nullptr, QStringLiteral("Lectoria"),
                              QStringLiteral("Lectoria 已在运行，但没有响应切换请求。\n"
                                             "请先关闭正在运行的 Lectoria，再重新启动。"));
        return 1;
    case platform::SingleInstance::Outcome::Primary:
        break;
    }

    MainWindowOptions options;
    options.profile = &profile;
    if (parser.isSet(libraryOption)) {
        options.libraryRoot = QFile::encodeName(QDir(parser.value(libraryOption)).absolutePath()).toStdString();
        options.libraryChosen = true;
    }
    options.demoLibrary = library::DemoLibraryDirectory();
    CParlivoDlg window(options);
    connect(&instance, &platform::SingleInstance::activationRequested, &window, [&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.show();
        window.raise();
        window.activateWindow();
    });
    // Shutdown and log-out leave through the window's own close path, which writes the notes.
    platform::TerminationSignals termination;
    connect(&termination, &platform::TerminationSignals::terminationRequested, &window, [&window] { window.close(); });
    connect(this, &QGuiApplication::commitDataRequest, &window, [&window](QSessionManager&) { window.SaveNotes(); });
    window.show();
    return exec();
}

} // namespace lectoria::ui
