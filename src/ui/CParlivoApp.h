#pragma once

#include <QApplication>

namespace lectoria::ui {

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
