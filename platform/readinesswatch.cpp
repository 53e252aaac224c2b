#include "readinesswatch.h"

#include <QAbstractEventDispatcher>
#include <utility>

namespace platform {

ReadinessWatch::ReadinessWatch(int descriptor, QSocketNotifier::Type type,
                               std::function<void()> onReady)
    : descriptor_(descriptor),
      type_(type),
      onReady_(std::move(onReady)),
      loop_(qobject_cast<EpollDispatcher*>(QAbstractEventDispatcher::instance())) {
    if (loop_ && loop_->isValid()) return;
    loop_.clear();
    notifier_ = std::make_unique<QSocketNotifier>(descriptor_, type_);
    notifier_->setEnabled(false);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { tell(); });
}

ReadinessWatch::~ReadinessWatch() {
    setEnabled(false);
}

void ReadinessWatch::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (notifier_)
        notifier_->setEnabled(on);
    else if (loop_)
        loop_->watchDirectly(descriptor_, type_, on ? this : nullptr);
}

}  // namespace platform
