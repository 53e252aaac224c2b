#include "ackpacer.h"

namespace lobby {

bool AckPacer::next(Lane& lane, qint64 now, QStringList& out) {
    if (lane.held.empty()) return false;
    out << std::move(lane.held.front());
    lane.held.pop_front();
    lane.sentAt = now;
    return true;
}

QStringList AckPacer::offer(SocketHandle socket, QString text, qint64 now) {
    const auto it = lanes_.find(socket);
    if (it == lanes_.end()) {
        lanes_[socket].sentAt = now;
        return {std::move(text)};
    }
    Lane& lane = it->second;
    if (lane.held.empty() && now - lane.sentAt >= kAckWaitMs) {
        lane.sentAt = now;  // the last one was never answered: no use waiting
        return {std::move(text)};
    }
    lane.held.push_back(std::move(text));
    if (lane.held.size() <= kMaxHeld) return {};
    // A program that lets this many pile up does not answer: it gets what it
    // would have got without pacing.
    QStringList all(lane.held.begin(), lane.held.end());
    lane.held.clear();
    lane.sentAt = now;
    return all;
}

QStringList AckPacer::acknowledged(SocketHandle socket, qint64 now) {
    QStringList out;
    const auto it = lanes_.find(socket);
    if (it != lanes_.end() && !next(it->second, now, out)) lanes_.erase(it);
    return out;
}

std::vector<AckPacer::Send> AckPacer::due(qint64 now) {
    std::vector<Send> out;
    for (auto it = lanes_.begin(); it != lanes_.end();) {
        if (now - it->second.sentAt < kAckWaitMs) {
            ++it;
            continue;
        }
        QStringList text;
        if (!next(it->second, now, text)) {
            it = lanes_.erase(it);
            continue;
        }
        out.push_back({it->first, text.front()});
        ++it;
    }
    return out;
}

std::optional<qint64> AckPacer::nextDue() const {
    std::optional<qint64> first;
    for (const auto& [socket, lane] : lanes_) {
        if (lane.held.empty()) continue;
        if (!first || lane.sentAt + kAckWaitMs < *first) first = lane.sentAt + kAckWaitMs;
    }
    return first;
}

void AckPacer::forget(SocketHandle socket) {
    lanes_.erase(socket);
}

}  // namespace lobby
