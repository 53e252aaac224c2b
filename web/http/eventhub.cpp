#include "eventhub.h"

#include "httpconnection.h"
#include "httpserver.h"

#include <utility>

namespace web {

void EventHub::add(HttpConnection& stream, const QByteArray& key) {
    std::vector<HttpConnection*>& list = streams_[key];
    stream.streamKey = key;
    stream.streamIndex = static_cast<qsizetype>(list.size());
    list.push_back(&stream);
    ++total_;
}

void EventHub::remove(HttpConnection& stream) {
    if (stream.streamIndex < 0) return;
    const auto it = streams_.find(stream.streamKey);
    if (it == streams_.end()) return;
    std::vector<HttpConnection*>& list = *it;
    const auto index = static_cast<std::size_t>(stream.streamIndex);
    if (index >= list.size() || list[index] != &stream) return;
    list[index] = list.back();
    list[index]->streamIndex = static_cast<qsizetype>(index);
    list.pop_back();
    if (list.empty()) streams_.erase(it);
    stream.streamIndex = -1;
    --total_;
}

void EventHub::deliver(const std::vector<HttpConnection*>& streams, const QByteArray& text) {
    std::vector<HttpConnection*> behind;
    for (HttpConnection* stream : streams)
        if (!server_.queueOnStream(*stream, text)) behind.push_back(stream);
    for (HttpConnection* stream : behind)
        server_.drop(*stream);
}

void EventHub::send(const QByteArray& key, const QByteArray& text) {
    const auto it = streams_.constFind(key);
    if (it == streams_.cend() || text.isEmpty()) return;
    // deliver() drops the streams that fell behind only after the loop.
    deliver(*it, text);
}

void EventHub::sendToAll(const QByteArray& text) {
    std::vector<HttpConnection*> all;
    all.reserve(static_cast<std::size_t>(total_));
    for (const std::vector<HttpConnection*>& list : std::as_const(streams_))
        all.insert(all.end(), list.begin(), list.end());
    deliver(all, text);
}

void EventHub::close(const QByteArray& key) {
    const auto it = streams_.find(key);
    if (it == streams_.end()) return;
    const std::vector<HttpConnection*> list = std::move(*it);
    streams_.erase(it);
    total_ -= static_cast<qsizetype>(list.size());
    for (HttpConnection* stream : list) {
        stream->streamIndex = -1;
        server_.endStream(*stream);
    }
}

qsizetype EventHub::streams(const QByteArray& key) const {
    const auto it = streams_.constFind(key);
    return it == streams_.cend() ? 0 : static_cast<qsizetype>(it->size());
}

QByteArray sseEvent(QByteArrayView name, QByteArrayView data, qint64 id) {
    QByteArray event;
    event.reserve(data.size() + name.size() + 32);
    if (id >= 0) event += "id: " + QByteArray::number(id) + '\n';
    if (!name.isEmpty()) {
        QByteArray clean = name.toByteArray();
        clean.replace('\r', "").replace('\n', "");
        event += "event: " + clean + '\n';
    }
    // Every line of the data on a "data:" line of its own; CRLF and CR end a
    // line as LF does.
    QByteArray text = data.toByteArray();
    text.replace("\r\n", "\n").replace('\r', '\n');
    for (const QByteArray& line : text.split('\n'))
        event += "data: " + line + '\n';
    event += '\n';
    return event;
}

}  // namespace web
