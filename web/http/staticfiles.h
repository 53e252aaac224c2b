#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

#include "httprequest.h"
#include "httpresponse.h"

namespace web {

// The site's own files under one root folder, and nothing else: a path is
// served only when every part of it is a plain name (letters, digits, '-',
// '_', '.', not starting with a dot), the file it names is a regular file
// whose real place, all links followed, is inside the root, and its extension
// is one of html, css, js, svg, png, ico, json. Answers carry an ETag (size
// and time of the file) and come back 304 to a matching If-None-Match.
class StaticFiles {
public:
    // `root` need not exist yet; `urlPrefix` is the part of the URL that
    // stands for it ("/web/").
    explicit StaticFiles(QString root, QString urlPrefix = QStringLiteral("/web/"));

    // The answer to a request whose path begins with the prefix, or nothing
    // when the path is outside the prefix. A path inside it that names no
    // servable file gives a 404.
    std::optional<HttpResponse> answer(const HttpRequest& request) const;

    // The answer for `relativePath` under the root ("index.html"), as above.
    HttpResponse answerFile(QStringView relativePath, const HttpRequest& request) const;

    // The file `relativePath` names when it may be served, else an empty string.
    QString resolve(QStringView relativePath) const;

    // The content type of a servable extension, else an empty array.
    static QByteArray contentType(QStringView fileName);

    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

private:
    QString root_;
    QString prefix_;
};

}  // namespace web
