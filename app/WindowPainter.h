#pragma once
// Draws the main window's picture: the words, the animation frame, the two
// progress bars and the output path.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>

// What one paint shows, read from the batch engine's progress.
struct WindowPicture {
    int32_t total = 0;
    int32_t remaining = 0;         // files not finished, those under way included
    double fileFraction = 0.0;     // of the file under way that started first
    double underWayFraction = 0.0; // the sum of the fractions of the files under way
    QString currentOutput;
    const QImage* frame = nullptr;  // none: the frame is skipped
};

// Characters of the output path shown after its leading blank.
inline constexpr int kShownOutputCharacters = 78;

// The light grey and dark grey of the two bars (the classic stock brushes).
inline const QColor kFileBarColour(192, 192, 192);
inline const QColor kOverallBarColour(64, 64, 64);

// The filled part of each bar inside `client`.
QRect FileBarRect(const QRect& client, double fileFraction);
QRect OverallBarRect(const QRect& client, int32_t total, int32_t remaining, double underWayFraction);

// Paints the whole client area `client` into `canvas`, which must be at
// least that large. `textFont` is used for "Drop Files Here", `smallFont`
// for the output path.
void PaintWindow(QImage& canvas, const QRect& client, const WindowPicture& picture, const QFont& textFont,
                 const QFont& smallFont);
