// Draws the images and sounds the game programs load from their folder:
// Varnel's thirty piece bitmaps "<code><side>.bmp" and "koma.wav", Ostrim's
// stones "bl1.bmp" and "wh2.bmp" and "Go.wav".
//
//   quor_makeassets <output folder>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QRadialGradient>
#include <QTextStream>
#include <array>
#include <cmath>
#include <cstdint>

#include "shogirules/kind.h"
#include "shogirules/pieceglyph.h"

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

constexpr int kStoneSize = 28;
// The board colour of the go program: the stones' soft rims are blended into
// it, so that they sit on the board without a halo.
const QColor kGoBoard(214, 170, 99);

// A stone on a white (transparent) square: a shaded disc whose rim is
// smoothed against the board colour, and nothing pure white inside it.
QImage drawStone(bool black) {
    const int s = kStoneSize;
    QImage image(s, s, QImage::Format_RGB32);
    image.fill(kGoBoard);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(s / 2.0, s / 2.0);
    const double radius = s / 2.0 - 1.0;
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    if (black) {
        shade.setColorAt(0, QColor(110, 110, 110));
        shade.setColorAt(0.35, QColor(40, 40, 40));
        shade.setColorAt(1, QColor(8, 8, 8));
        p.setPen(QPen(QColor(0, 0, 0), 1));
    } else {
        shade.setColorAt(0, QColor(254, 254, 252));
        shade.setColorAt(0.6, QColor(236, 234, 226));
        shade.setColorAt(1, QColor(190, 188, 180));
        p.setPen(QPen(QColor(120, 118, 110), 1));
    }
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
    p.end();
    // Outside the disc the square is white, the colour left out when a stone
    // is drawn; inside nothing may be pure white.
    for (int y = 0; y < s; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < s; ++x) {
            const double dx = x + 0.5 - centre.x(), dy = y + 0.5 - centre.y();
            if (dx * dx + dy * dy > (radius + 0.7) * (radius + 0.7)) {
                line[x] = qRgb(255, 255, 255);
            } else if (line[x] == qRgb(255, 255, 255)) {
                line[x] = qRgb(254, 254, 254);
            }
        }
    }
    return image;
}

void put16(QByteArray& out, std::uint16_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>(v >> 8));
}

void put32(QByteArray& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// One partial of a click: its amplitude, frequency and how fast it dies.
struct Partial {
    double amplitude;
    double frequency;
    double decay;
};

// A short click: a few quickly dying partials over a tick of noise. Wood on
// wood for a piece, a higher, harder one for a stone.
QByteArray clickSound(const std::array<Partial, 3>& partials, int milliseconds) {
    constexpr int kRate = 22050;
    const int samples = kRate * milliseconds / 1000;
    QByteArray pcm;
    std::uint32_t noise = 12345;
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (const Partial& partial : partials)
            v += partial.amplitude * std::exp(-t / partial.decay) *
                 std::sin(2 * M_PI * partial.frequency * t);
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
    for (const bool black : {true, false}) {
        const QString name =
            out.filePath(black ? QStringLiteral("bl1.bmp") : QStringLiteral("wh2.bmp"));
        if (!drawStone(black).save(name, "BMP")) {
            err << "cannot write " << name << "\n";
            return 1;
        }
    }
    const struct {
        const char* name;
        QByteArray sound;
    } sounds[] = {
        {"koma.wav",
         clickSound({{{0.55, 820, 0.010}, {0.30, 1730, 0.007}, {0.15, 3150, 0.004}}}, 90)},
        {"Go.wav",
         clickSound({{{0.45, 1250, 0.008}, {0.35, 2600, 0.005}, {0.20, 4100, 0.003}}}, 80)},
    };
    for (const auto& sound : sounds) {
        QFile wav(out.filePath(QString::fromLatin1(sound.name)));
        if (!wav.open(QIODevice::WriteOnly) || wav.write(sound.sound) < 0) {
            err << "cannot write " << wav.fileName() << "\n";
            return 1;
        }
    }
    return 0;
}
