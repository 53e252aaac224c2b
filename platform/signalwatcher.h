#pragma once

#include <QObject>
#include <initializer_list>

class QSocketNotifier;

namespace platform {

// Turns process signals (SIGINT, SIGTERM) into a Qt signal on the event loop,
// so that a program ended by a signal cleans up as when it ends by itself (it
// stops its server, ends its engines, removes its temporary files). It reads them from a signalfd:
// no handler runs at an arbitrary moment and no program-wide state is needed.
class SignalWatcher : public QObject {
    Q_OBJECT
public:
    // Blocks the signals in the calling thread and in every thread it starts
    // afterwards, so that they wait for the watcher instead of ending the
    // process. Call it first thing in main(), before any thread exists.
    static void block(std::initializer_list<int> signalNumbers);

    // Watches signals already blocked with `block`.
    explicit SignalWatcher(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
    ~SignalWatcher() override;

    bool isValid() const { return fd_ >= 0; }

signals:
    void received(int signalNumber);

private:
    void readSignals();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform
