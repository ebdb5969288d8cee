#include "app/WindowPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

inline constexpr const char* kDropText = "Drop Files Here";
inline constexpr int kFrameHalfWidth = 31;
inline constexpr int kFrameHalfHeight = 33;
// Each bar's top and bottom edge, counted up from the client's bottom; the
// bottom edge is exclusive.
inline constexpr int kFileBarTop = 22;
inline constexpr int kFileBarBottom = 12;
inline constexpr int kOverallBarTop = 11;
inline constexpr int kOverallBarBottom = 1;

// The client rectangle's right and bottom coordinates plus 1: the spans the
// frame position and the bar widths are measured against.
int Span(int extent) {
    return extent + 1;
}

// A fraction a job reports may be out of range (a source longer than its
// declared length); keep the bars inside the window.
double Clamp01(double fraction) {
    if (!(fraction > 0.0)) return 0.0;
    return std::min(fraction, 1.0);
}

QRect Bar(const QRect& client, double fraction, int top, int bottom) {
    const int width = static_cast<int>(std::trunc(Clamp01(fraction) * Span(client.width())));
    const int clientBottom = client.y() + client.height();
    return QRect(client.x(), clientBottom - top, width, top - bottom);
}

QString ShownOutput(const QString& output) {
    // Counted in characters, not UTF-16 units, so a surrogate pair is never split.
    const QList<uint> characters = output.toUcs4();
    const qsizetype shown = std::min<qsizetype>(characters.size(), kShownOutputCharacters);
    return QStringLiteral(" ") + QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()), shown);
}

}  // namespace

QRect FileBarRect(const QRect& client, double fileFraction) {
    return Bar(client, fileFraction, kFileBarTop, kFileBarBottom);
}

QRect OverallBarRect(const QRect& client, int32_t total, int32_t remaining, double underWayFraction) {
    if (total <= 0) return Bar(client, 0.0, kOverallBarTop, kOverallBarBottom);
    const double overall = (static_cast<double>(total) - remaining + underWayFraction) / total;
    return Bar(client, overall, kOverallBarTop, kOverallBarBottom);
}

void PaintWindow(QImage& canvas, const QRect& client, const WindowPicture& picture, const QFont& textFont,
                 const QFont& smallFont) {
    QPainter painter(&canvas);
    painter.fillRect(client, Qt::white);

    painter.setPen(Qt::black);
    painter.setFont(textFont);
    painter.drawText(client, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, kDropText);

    if (picture.frame && !picture.frame->isNull()) {
        const QPoint corner(client.x() + Span(client.width()) / 2 - kFrameHalfWidth,
                            client.y() + Span(client.height()) / 2 - kFrameHalfHeight);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(corner, *picture.frame);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    const QRect fileBar = FileBarRect(client, picture.fileFraction);
    painter.fillRect(fileBar, kFileBarColour);
    painter.fillRect(OverallBarRect(client, picture.total, picture.remaining, picture.underWayFraction),
                     kOverallBarColour);

    if (!picture.currentOutput.isEmpty() && !fileBar.isEmpty()) {
        // The path shows only over the filled part of the current-file bar.
        painter.setClipRect(fileBar);
        painter.setFont(smallFont);
        const QRect line(fileBar.x(), fileBar.y(), client.width(), fileBar.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         ShownOutput(picture.currentOutput));
    }
}
