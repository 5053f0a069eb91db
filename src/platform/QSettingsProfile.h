#pragma once

#include <memory>

#include <QString>

#include "settings/Settings.h"

class QSettings;

namespace lectoria::platform {

/// The application profile as an INI file, section "kelvaro".
class QSettingsProfile : public settings::ProfileStore
{
public:
    /// The per-user profile at the platform's standard configuration location.
    QSettingsProfile();
    /// A profile in the given INI file (tests pass their own).
    explicit QSettingsProfile(const QString& iniFile);
    ~QSettingsProfile() override;

    int ReadInt(const std::string& key, int fallback) override;
    std::string ReadString(const std::string& key, const std::string& fallback) override;
    void WriteInt(const std::string& key, int value) override;
    void WriteString(const std::string& key, const std::string& value) override;
    bool Flush() override;
    std::string Location() const override { return fileName().toStdString(); }

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace lectoria::platform
