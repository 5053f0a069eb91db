#pragma once

#include <memory>

#include <QObject>
#include <QString>

class QLocalServer;
class QLockFile;

namespace lectoria::platform {

/// One running program per user profile: two copies on the same lessons would write over each
/// other's notes. The first start holds a lock file and listens on a local socket; a second
/// start asks the first to come forward and leaves.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        Primary,    ///< this is the one running copy
        HandedOver, ///< another copy runs and was asked to show itself
        Failed,     ///< another copy holds the lock but did not answer
    };

    /// `key` names the profile (its file); copies on different profiles do not meet.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    Outcome Start();

signals:
    /// A second start asked this copy to show itself.
    void activationRequested();

private:
    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace lectoria::platform
