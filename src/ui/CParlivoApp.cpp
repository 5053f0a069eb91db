#include "CParlivoApp.h"

#include "ButtonStyle.h"
#include "CParlivoDlg.h"
#include "QSettingsProfile.h"

namespace lectoria::ui {

CParlivoApp::CParlivoApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Lectoria"));
    setOrganizationName(QStringLiteral("Lectoria"));
    setApplicationDisplayName(QStringLiteral("Lectoria"));
    EnsureUiResources();
    setWindowIcon(QIcon(QStringLiteral(":/icons/lectoria.svg")));
}

int CParlivoApp::Run()
{
    platform::QSettingsProfile profile;
    MainWindowOptions options;
    options.profile = &profile;
    CParlivoDlg window(options);
    window.show();
    return exec();
}

} // namespace lectoria::ui
