#pragma once

#include <QObject>

class QSocketNotifier;

namespace lectoria::platform {

/// Turns SIGTERM and SIGHUP (shutdown, log-out, a closed terminal) into a signal on the event
/// loop, so the program leaves through its normal close path and writes what the user typed.
/// The handler only writes one byte to a socket; everything else runs on the main thread.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace lectoria::platform
