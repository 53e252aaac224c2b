// Draws the piece images and the piece sound that Varnel loads from its
// folder: thirty bitmaps "<code><side>.bmp" and "koma.wav".
//
//   quor_makeassets <output folder>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QTextStream>
#include <cmath>
#include <cstdint>

#include "kind.h"
#include "pieceglyph.h"

namespace {

constexpr int kPieceWidth = 40;
constexpr int kPieceHeight = 44;

// White is the transparent colour of every piece image, so nothing but the
// background may be pure white.
const QColor kBackground(255, 255, 255);
const QColor kWood(236, 196, 120);
const QColor kWoodEdge(120, 78, 30);
const QColor kInk(20, 16, 12);
const QColor kRedInk(196, 20, 16);

QImage drawPiece(shogi::Kind kind, bool upsideDown) {
    QImage image(kPieceWidth, kPieceHeight, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter p(&image);

    // The body is drawn without smoothing: a soft edge would leave almost-white
    // pixels that show as a halo on the board.
    const int w = kPieceWidth, h = kPieceHeight;
    const QPolygon body(
        {QPoint(w / 2, 2), QPoint(w - 7, 8), QPoint(w - 3, h - 3), QPoint(2, h - 3), QPoint(6, 8)});
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kWoodEdge, 1));
    p.setBrush(kWood);
    p.drawPolygon(body);

    QFont font(QStringLiteral("Noto Serif CJK JP"));
    font.setPixelSize(24);
    font.setWeight(QFont::Bold);
    p.setFont(font);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(shogi::isPromotedKind(kind) ? kRedInk : kInk);
    p.drawText(QRect(0, 9, w, h - 12), Qt::AlignCenter, shogi::pieceGlyph(kind));
    p.end();

    // Smoothed text may still touch pure white at its rim; keep it off the key.
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (line[x] != kBackground.rgb() && body.containsPoint(QPoint(x, y), Qt::OddEvenFill) &&
                qRed(line[x]) == 255 && qGreen(line[x]) == 255 && qBlue(line[x]) == 255) {
                line[x] = kWood.rgb();
            }
        }
    }
    return upsideDown ? image.mirrored(true, true) : image;
}

void put16(QByteArray& out, std::uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A short wooden click: a few quickly dying partials over a tick of noise.
QByteArray pieceSound() {
    constexpr int kRate = 22050;
    constexpr int kSamples = kRate * 90 / 1000;
    QByteArray pcm;
    std::uint32_t noise = 12345;
    for (int i = 0; i < kSamples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0.55 * std::exp(-t / 0.010) * std::sin(2 * M_PI * 820 * t) +
                   0.30 * std::exp(-t / 0.007) * std::sin(2 * M_PI * 1730 * t) +
                   0.15 * std::exp(-t / 0.004) * std::sin(2 * M_PI * 3150 * t);
        noise = noise * 1664525u + 1013904223u;
        const double n = (static_cast<double>(noise >> 8) / (1 << 24)) * 2.0 - 1.0;
        v += 0.35 * std::exp(-t / 0.0015) * n;
        const double clipped = std::clamp(v, -1.0, 1.0);
        put16(pcm, static_cast<std::uint16_t>(static_cast<std::int16_t>(clipped * 30000)));
    }
    QByteArray wav("RIFF");
    put32(wav, static_cast<std::uint32_t>(36 + pcm.size()));
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1);  // PCM
    put16(wav, 1);  // mono
    put32(wav, kRate);
    put32(wav, kRate * 2);
    put16(wav, 2);
    put16(wav, 16);
    wav += "data";
    put32(wav, static_cast<std::uint32_t>(pcm.size()));
    wav += pcm;
    return wav;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: quor_makeassets <output folder>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }
    for (int side = 1; side <= 2; ++side) {
        for (int k = 0; k < shogi::kPieceKindCount; ++k) {
            const auto kind = static_cast<shogi::Kind>(k);
            const QString code = QString::fromLatin1(shogi::kindCode(kind).data(), 2);
            const QString name =
                out.filePath(code + QString::number(side) + QStringLiteral(".bmp"));
            if (!drawPiece(kind, side == 2).save(name, "BMP")) {
                err << "cannot write " << name << "\n";
                return 1;
            }
        }
    }
    QFile wav(out.filePath(QStringLiteral("koma.wav")));
    if (!wav.open(QIODevice::WriteOnly) || wav.write(pieceSound()) < 0) {
        err << "cannot write " << wav.fileName() << "\n";
        return 1;
    }
    return 0;
}
