#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <QSize>
#include <QString>

#include <gtest/gtest.h>

#include "ActiveWindow.h"
#include "CParlivoDlg.h"
#include "QSettingsProfile.h"

namespace lectoria::test {

/// The main window as the window tests start it: its profile is `folder`/profile.ini (handed back
/// in `profile`, which must outlive the window), its temporary audio lives under `folder`, the
/// player is the test's (null: the real one), and it is shown and active as a user's window is when they type. An
/// empty `libraryRoot` is the user's library; an empty `size` keeps the default.
inline std::unique_ptr<ui::CParlivoDlg> OpenMainWindow(const std::filesystem::path& folder,
                                                       reading::IMediaPlayer* player,
                                                       std::unique_ptr<platform::QSettingsProfile>& profile,
                                                       const std::string& libraryRoot = {}, QSize size = {},
                                                       reading::IShadowRecorder* recorder = nullptr)
{
    profile = std::make_unique<platform::QSettingsProfile>(QString::fromStdString((folder / "profile.ini").string()));
    ui::MainWindowOptions options;
    options.profile = profile.get();
    options.player = player;
    options.tempDir = (folder / "TemporaryQenReading").string() + "/";
    options.libraryRoot = libraryRoot;
    options.recorder = recorder;
    auto window = std::make_unique<ui::CParlivoDlg>(options);
    if (size.isValid()) {
        window->resize(size);
    }
    EXPECT_TRUE(ShowActive(window.get()));
    return window;
}

} // namespace lectoria::test
