#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <QVector>

#include <array>
#include <string>
#include <utility>
#include <vector>

class QPainter;

// Draws the listing's rows as QPainter::drawText draws them piece by piece,
// without laying the text out each time: the listing font has a fixed pitch
// and a row holds only the characters printf writes, so each character is
// one glyph of the font, advanced by its own width. A piece with a character
// the font lacks is drawn by drawText, and so is every piece on a painter
// that maps its coordinates at all: glyph runs land without a widget's offset
// in its window there.
class ListingRowPainter {
public:
    // For `metrics` of `font` on the device painted.
    ListingRowPainter(const QFont& font, const QFontMetrics& metrics, const QPainter& painter);

    // Draws `pieces` from `x` on the baseline `y`, each piece starting where
    // the one before it ended.
    void Draw(QPainter& painter, int x, int y, const std::array<std::string, 6>& pieces);

private:
    // The width of a piece of `length` characters, in whole pixels.
    int PieceAdvance(std::size_t length);
    // Draws the glyphs gathered since the last run.
    void DrawRun(QPainter& painter);

    const QFontMetrics& m_metrics;
    QRawFont m_rawFont;
    std::array<quint32, 128> m_glyphs{};  // of each ASCII character; 0 for none
    std::array<qreal, 128> m_advances{};  // its width, in fractions of a pixel
    std::vector<std::pair<std::size_t, int>> m_pieceAdvances; // by length
    bool m_glyphRuns; // whether the painter places glyph runs where drawText would
    QGlyphRun m_run;
    QVector<quint32> m_runGlyphs;
    QVector<QPointF> m_runPositions;
};
