// Draws Quavermill's artwork: the spinning badge's eight animation frames and
// the application icon in every size a desktop picks from. Run it by hand after changing the
// drawing and commit the PNGs it writes; the build only embeds them.
//
//   cmake --build <dir> --target quavermill_artwork
//   <dir>/resources/quavermill_artwork resources/

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cstdio>

namespace {

constexpr int kFrameCount = 8;
constexpr int kFrameSide = 63;
constexpr double kStepDegrees = 360.0 / kFrameCount;
// 16 and 128 are the window's own; menus, docks and software centres take
// 32 to 256 and scale the rest from the nearest.
constexpr int kIconSides[] = {16, 32, 48, 64, 128, 256};

// The badge is drawn on a 63-unit square so every size shares one drawing.
constexpr double kUnit = 63.0;

void PaintQuaver(QPainter& painter) {
    const QColor ink(255, 255, 255);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);

    // Note head: a tilted ellipse left of centre, low on the badge.
    painter.save();
    painter.translate(26.0, 40.5);
    painter.rotate(-22.0);
    painter.drawEllipse(QRectF(-7.0, -4.8, 14.0, 9.6));
    painter.restore();

    // Stem rising from the head's right edge.
    painter.drawRect(QRectF(31.2, 15.0, 2.6, 25.0));

    // Flag curling down to the right.
    QPainterPath flag;
    flag.moveTo(33.8, 15.0);
    flag.cubicTo(35.5, 21.0, 44.0, 22.5, 41.0, 32.5);
    flag.cubicTo(40.5, 26.5, 37.0, 24.5, 33.8, 23.5);
    flag.closeSubpath();
    painter.drawPath(flag);
}

// One badge, turned `angleDegrees` clockwise about its centre, filling a
// square of `side` pixels.
void PaintBadge(QPainter& painter, int side, double angleDegrees) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(side / kUnit, side / kUnit);
    painter.translate(kUnit / 2.0, kUnit / 2.0);
    painter.rotate(angleDegrees);
    painter.translate(-kUnit / 2.0, -kUnit / 2.0);

    const QPointF centre(kUnit / 2.0, kUnit / 2.0);

    // Rim.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(31, 58, 104));
    painter.drawEllipse(centre, 30.0, 30.0);

    // Face: lit from the upper left so the turn is seen in the shading too.
    QRadialGradient face(QPointF(22.0, 20.0), 34.0);
    face.setColorAt(0.0, QColor(120, 180, 240));
    face.setColorAt(1.0, QColor(40, 96, 170));
    painter.setBrush(face);
    painter.drawEllipse(centre, 25.5, 25.5);

    // Eight studs on the rim, one of them orange: the eye follows it round.
    for (int stud = 0; stud < kFrameCount; ++stud) {
        painter.save();
        painter.translate(centre);
        painter.rotate(stud * kStepDegrees);
        painter.setBrush(stud == 0 ? QColor(250, 150, 30) : QColor(200, 215, 235));
        painter.drawEllipse(QPointF(0.0, -27.8), stud == 0 ? 2.6 : 1.5, stud == 0 ? 2.6 : 1.5);
        painter.restore();
    }

    PaintQuaver(painter);
    painter.restore();
}

bool SavePng(const QImage& image, const QString& directory, const QString& name) {
    const QString path = directory + "/" + name;
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    return true;
}

QImage Icon(int side) {
    QImage icon(side, side, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    PaintBadge(painter, side, 0.0);
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]);

    bool written = true;
    for (int frame = 0; frame < kFrameCount; ++frame) {
        // Opaque white like the window, because the window copies frames
        // without blending.
        QImage image(kFrameSide, kFrameSide, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintBadge(painter, kFrameSide, frame * kStepDegrees);
        painter.end();
        written &= SavePng(image, directory, QString("frame%1.png").arg(frame));
    }
    for (int side : kIconSides) written &= SavePng(Icon(side), directory, QString("icon-%1.png").arg(side));
    return written ? 0 : 1;
}
