#include "staticfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace web {

namespace {

bool isPlainName(QStringView part) {
    if (part.isEmpty() || part.front() == u'.' || part.size() > 255) return false;
    for (const QChar c : part) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                        (u >= u'0' && u <= u'9') || u == u'-' || u == u'_' || u == u'.';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

StaticFiles::StaticFiles(QString root, QString urlPrefix)
    : root_(std::move(root)), prefix_(std::move(urlPrefix)) {}

QByteArray StaticFiles::contentType(QStringView fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0) return {};
    const QStringView extension = fileName.sliced(dot + 1);
    struct Type {
        const char16_t* extension;
        const char* type;
    };
    static constexpr Type kTypes[] = {
        {u"html", "text/html; charset=utf-8"},
        {u"css", "text/css; charset=utf-8"},
        {u"js", "text/javascript; charset=utf-8"},
        {u"svg", "image/svg+xml"},
        {u"png", "image/png"},
        {u"ico", "image/x-icon"},
        {u"json", "application/json; charset=utf-8"},
    };
    for (const Type& type : kTypes)
        if (extension == QStringView(type.extension)) return type.type;
    return {};
}

QString StaticFiles::resolve(QStringView relativePath) const {
    if (relativePath.isEmpty() || relativePath.size() > 1024) return {};
    for (const QStringView part : relativePath.split(u'/'))
        if (!isPlainName(part)) return {};
    if (contentType(relativePath).isEmpty()) return {};
    const QString realRoot = QFileInfo(root_).canonicalFilePath();
    if (realRoot.isEmpty()) return {};
    const QFileInfo file(realRoot + u'/' + relativePath.toString());
    // Links are followed; the place they lead to must be inside the root.
    QString real = file.canonicalFilePath();
    if (real.isEmpty() || !real.startsWith(realRoot + u'/')) return {};
    const QFileInfo target(real);
    if (!target.isFile() || !target.isReadable() || target.size() > kMaxFileSize) return {};
    return real;
}

std::optional<HttpResponse> StaticFiles::answer(const HttpRequest& request) const {
    if (!request.path.startsWith(prefix_)) return std::nullopt;
    return answerFile(QStringView(request.path).sliced(prefix_.size()), request);
}

HttpResponse StaticFiles::answerFile(QStringView relativePath, const HttpRequest& request) const {
    const QString path = resolve(relativePath);
    if (path.isEmpty()) return errorResponse(404);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return errorResponse(404);
    const QFileInfo info(file);
    const QByteArray etag = '"' + QByteArray::number(info.size(), 16) + '-' +
                            QByteArray::number(info.lastModified().toMSecsSinceEpoch(), 16) + '"';
    HttpResponse response;
    response.contentType = contentType(relativePath);
    response.headers.emplaceBack("ETag", etag);
    response.headers.emplaceBack("Cache-Control", "no-cache");
    if (request.header("if-none-match") == etag) {
        response.status = 304;
        return response;
    }
    response.body = file.read(kMaxFileSize);
    return response;
}

}  // namespace web
