#include "QSettingsProfile.h"

#include <QSettings>

namespace lectoria::platform {

namespace {

QString Key(const std::string& key)
{
    return QStringLiteral("kelvaro/") + QString::fromStdString(key);
}

} // namespace

QSettingsProfile::QSettingsProfile()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Lectoria"),
                                             QStringLiteral("Lectoria")))
{}

QSettingsProfile::QSettingsProfile(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{}

QSettingsProfile::~QSettingsProfile() = default;

int QSettingsProfile::ReadInt(const std::string& key, int fallback)
{
    const QVariant value = m_settings->value(Key(key));
    if (!value.isValid()) {
        return fallback;
    }
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok) {
        return fallback;
    }
    // Out-of-range numbers are clamped by the caller; keep them out of int overflow here.
    return static_cast<int>(std::clamp<qlonglong>(number, INT_MIN, INT_MAX));
}

std::string QSettingsProfile::ReadString(const std::string& key, const std::string& fallback)
{
    const QVariant value = m_settings->value(Key(key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void QSettingsProfile::WriteInt(const std::string& key, int value)
{
    m_settings->setValue(Key(key), value);
}

void QSettingsProfile::WriteString(const std::string& key, const std::string& value)
{
    m_settings->setValue(Key(key), QString::fromStdString(value));
}

bool QSettingsProfile::Flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString QSettingsProfile::fileName() const
{
    return m_settings->fileName();
}

} // namespace lectoria::platform
