#include "views/Cursors.h"

#include <QBitmap>
#include <QImage>

namespace {

constexpr int kSize = 32;

// A 32 x 32 one-bit picture; set pixels are black, the rest transparent.
class CursorPicture {
public:
    CursorPicture() : m_image(kSize, kSize, QImage::Format_MonoLSB)
    {
        m_image.setColor(0, qRgb(255, 255, 255));
        m_image.setColor(1, qRgb(0, 0, 0));
        m_image.fill(0);
    }

    void Set(int x, int y, bool on = true)
    {
        if (x >= 0 && x < kSize && y >= 0 && y < kSize)
            m_image.setPixel(x, y, on ? 1 : 0);
    }

    // One-pixel crosshair centred on (cx, cy) with arms of `arm` pixels and
    // the square of half-size `gap` around the centre left open.
    void Crosshair(int cx, int cy, int arm, int gap)
    {
        for (int d = -arm; d <= arm; ++d) {
            if (d >= -gap && d <= gap)
                continue;
            Set(cx + d, cy);
            Set(cx, cy + d);
        }
    }

    // Eight rays of four pixels around a set centre pixel.
    void Burst(int cx, int cy)
    {
        Set(cx, cy);
        for (int d = 1; d <= 4; ++d) {
            Set(cx + d, cy);
            Set(cx - d, cy);
            Set(cx, cy + d);
            Set(cx, cy - d);
            Set(cx + d, cy + d);
            Set(cx - d, cy - d);
            Set(cx + d, cy - d);
            Set(cx - d, cy + d);
        }
    }

    QCursor ToCursor(int hotX, int hotY) const
    {
        // The same bits as shape and mask: set pixels black, the others transparent.
        const QBitmap bits = QBitmap::fromImage(m_image);
        return QCursor(bits, bits, hotX, hotY);
    }

private:
    QImage m_image;
};

} // namespace

QCursor MakeDeleteCursor()
{
    CursorPicture picture;
    picture.Crosshair(7, 7, 7, 0);
    picture.Burst(23, 23);
    return picture.ToCursor(7, 7);
}

QCursor MakeTargetCursor()
{
    CursorPicture picture;
    for (int i = 2; i <= 12; ++i) {
        for (int t : {2, 3, 11, 12}) {
            picture.Set(i, t);
            picture.Set(t, i);
        }
    }
    picture.Burst(23, 23);
    return picture.ToCursor(7, 7);
}

QCursor MakeControlCursor()
{
    CursorPicture picture;
    picture.Crosshair(15, 15, 15, 1);
    return picture.ToCursor(15, 15);
}
