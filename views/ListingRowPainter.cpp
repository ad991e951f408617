#include "views/ListingRowPainter.h"

#include <QPainter>

#include <algorithm>

ListingRowPainter::ListingRowPainter(const QFont& font, const QFontMetrics& metrics, const QPainter& painter)
    : m_metrics(metrics), m_rawFont(QRawFont::fromFont(font)),
      m_glyphRuns(painter.deviceTransform().isIdentity() && painter.combinedTransform().isIdentity())
{
    QString ascii;
    for (char16_t c = 0; c < m_glyphs.size(); ++c)
        ascii += QChar(c);
    const QList<quint32> glyphs = m_rawFont.glyphIndexesForString(ascii);
    const QList<QPointF> advances = m_rawFont.advancesForGlyphIndexes(glyphs);
    for (std::size_t c = 0; c < m_glyphs.size() && c < static_cast<std::size_t>(glyphs.size()); ++c) {
        m_glyphs[c] = glyphs[static_cast<qsizetype>(c)];
        m_advances[c] = advances[static_cast<qsizetype>(c)].x();
    }
    m_run.setRawFont(m_rawFont);
}

int ListingRowPainter::PieceAdvance(std::size_t length)
{
    for (const auto& [known, advance] : m_pieceAdvances) {
        if (known == length)
            return advance;
    }
    const int advance = m_metrics.horizontalAdvance(QString(static_cast<qsizetype>(length), QLatin1Char('0')));
    m_pieceAdvances.emplace_back(length, advance);
    return advance;
}

// Blanks are left out: they leave no ink.
void ListingRowPainter::Draw(QPainter& painter, int x, int y, const std::array<std::string, 6>& pieces)
{
    for (const std::string& piece : pieces) {
        const bool glyphsOnly = m_glyphRuns && std::all_of(piece.begin(), piece.end(), [&](char c) {
            const auto code = static_cast<unsigned char>(c);
            return code < m_glyphs.size() && m_glyphs[code] != 0;
        });
        if (!glyphsOnly) {
            DrawRun(painter);
            const QString text = QString::fromStdString(piece);
            painter.drawText(x, y, text);
            x += m_metrics.horizontalAdvance(text);
            continue;
        }
        qreal at = x;
        for (const char c : piece) {
            const auto code = static_cast<unsigned char>(c);
            if (c != ' ') {
                m_runGlyphs.push_back(m_glyphs[code]);
                m_runPositions.push_back(QPointF(at, y));
            }
            at += m_advances[code];
        }
        x += PieceAdvance(piece.size());
    }
    DrawRun(painter);
}

void ListingRowPainter::DrawRun(QPainter& painter)
{
    if (m_runGlyphs.isEmpty())
        return;
    m_run.setGlyphIndexes(m_runGlyphs);
    m_run.setPositions(m_runPositions);
    painter.drawGlyphRun(QPointF(0, 0), m_run);
    m_runGlyphs.clear();
    m_runPositions.clear();
}
