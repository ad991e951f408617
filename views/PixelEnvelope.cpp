#include "views/PixelEnvelope.h"

#include <algorithm>
#include <array>
#include <utility>

// The run's first, lowest, highest and last readings in the order they
// came, each once.
void PixelEnvelope::CloseRun()
{
    if (!m_inRun)
        return;
    m_inRun = false;
    std::array<Seen, 4> kept{m_first, m_low, m_high, m_last};
    std::sort(kept.begin(), kept.end(), [](const Seen& a, const Seen& b) { return a.place < b.place; });
    for (std::size_t k = 0; k < kept.size(); ++k) {
        if (k == 0 || kept[k].place != kept[k - 1].place)
            m_piece.push_back({m_column, kept[k].level});
    }
}

void PixelEnvelope::CloseRunAndPiece()
{
    CloseRun();
    if (!m_piece.empty())
        m_pieces.push_back(std::exchange(m_piece, {}));
}

std::vector<PixelEnvelope::Piece> PixelEnvelope::TakePieces()
{
    CloseRunAndPiece();
    m_count = 0;
    return std::exchange(m_pieces, {});
}
