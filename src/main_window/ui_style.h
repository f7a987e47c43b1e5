#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace torvanu {

// The program's one typeface at a given size; the start-up maps its family onto an
// installed Japanese font.
QFont msGothic(qreal points, bool bold = false);

inline constexpr qreal kPickerPoints = 12;
inline constexpr qreal kResultPoints = 14.25;
inline constexpr qreal kCaptionPoints = 9;

inline constexpr QColor kTimeColour{255, 0, 0};
inline constexpr QColor kPaceColour{0, 0, 255};
inline constexpr QColor kWhite{255, 255, 255};
inline constexpr QColor kFifthLabelColour{255, 255, 192};
inline constexpr QColor kFifthCellColour{255, 255, 128};
inline constexpr QColor kHalfFullLabelColour{255, 192, 192};

// Sets the text colour of a widget (and, for editable controls, the base colour).
void setTextColour(QWidget* widget, const QColor& text);
void setColours(QWidget* widget, const QColor& text, const QColor& background);
void setBackground(QWidget* widget, const QColor& background);

// Sizes of the window level are kept in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

} // namespace torvanu
