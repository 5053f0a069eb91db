#pragma once

#include <QApplication>

namespace lectoria::ui {

/// Loads Qt's own Chinese texts (from Debian's qt6-translations-l10n) for the application's
/// lifetime; false when they are not installed.
bool InstallQtTranslations(QCoreApplication& application);

/// The application object: sets up Qt, shows the main window and runs until it closes.
class CParlivoApp : public QApplication
{
    Q_OBJECT

public:
    CParlivoApp(int& argc, char** argv);

    /// Builds the main window on the per-user profile and runs the event loop.
    int Run();
};

} // namespace lectoria::ui
