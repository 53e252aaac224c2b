#include "signalwatcher.h"

#include <sys/signalfd.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>

namespace platform {

namespace {

sigset_t setOf(std::initializer_list<int> signalNumbers) {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : signalNumbers)
        sigaddset(&set, s);
    return set;
}

}  // namespace

void SignalWatcher::block(std::initializer_list<int> signalNumbers) {
    const sigset_t set = setOf(signalNumbers);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalWatcher::SignalWatcher(std::initializer_list<int> signalNumbers, QObject* parent)
    : QObject(parent) {
    const sigset_t set = setOf(signalNumbers);
    fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0) return;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SignalWatcher::readSignals);
}

SignalWatcher::~SignalWatcher() {
    delete notifier_;
    if (fd_ >= 0) ::close(fd_);
}

void SignalWatcher::readSignals() {
    signalfd_siginfo info;
    while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        emit received(static_cast<int>(info.ssi_signo));
}

}  // namespace platform
