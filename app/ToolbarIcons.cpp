#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kPaper(0xff, 0xff, 0xff);

void Page(QPainter& p, int left, int top, int right, int bottom)
{
    const int fold = 3;
    QPainterPath outline;
    outline.moveTo(left, top);
    outline.lineTo(right - fold, top);
    outline.lineTo(right, top + fold);
    outline.lineTo(right, bottom);
    outline.lineTo(left, bottom);
    outline.closeSubpath();
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawPath(outline);
    p.drawLine(right - fold, top, right - fold, top + fold);
    p.drawLine(right - fold, top + fold, right, top + fold);
}

void TextLines(QPainter& p, int left, int right, int top, int bottom)
{
    p.setPen(QColor(0x80, 0x80, 0x80));
    for (int y = top; y <= bottom; y += 2)
        p.drawLine(left, y, right, y);
}

void DrawNew(QPainter& p) { Page(p, 3, 1, 12, 14); }

void DrawOpen(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(QColor(0xd8, 0xa8, 0x30));
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4), QPoint(12, 7),
                            QPoint(1, 7)}));
    p.setBrush(QColor(0xf8, 0xd8, 0x60));
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(3, 7), QPoint(15, 7), QPoint(13, 13)}));
}

void DrawExport(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(QColor(0x28, 0x48, 0x98));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(0xb0, 0xb0, 0xb0));
    p.drawRect(4, 9, 7, 5);
    p.fillRect(8, 10, 2, 3, QColor(0x28, 0x48, 0x98));
}

void DrawCut(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.drawLine(5, 8, 10, 1);
    p.drawLine(10, 8, 5, 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xb0, 0x20, 0x20), 1));
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void DrawCopy(QPainter& p)
{
    Page(p, 1, 1, 9, 10);
    TextLines(p, 3, 6, 4, 8);
    Page(p, 6, 4, 14, 14);
    TextLines(p, 8, 12, 8, 12);
}

void DrawPaste(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(QColor(0xa0, 0x70, 0x30));
    p.drawRect(1, 2, 10, 12);
    p.setBrush(QColor(0xc0, 0xc0, 0xc0));
    p.drawRect(4, 1, 4, 2);
    Page(p, 6, 6, 14, 14);
    TextLines(p, 8, 12, 9, 13);
}

void DrawPrint(QPainter& p)
{
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(0xa8, 0xa8, 0xa8));
    p.drawRect(1, 6, 13, 5);
    p.setBrush(kPaper);
    p.drawRect(4, 10, 7, 4);
    p.fillRect(11, 8, 2, 1, QColor(0x30, 0xa0, 0x30));
}

void DrawHelp(QPainter& p)
{
    QFont font = p.font();
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x20, 0x40, 0xb0));
    p.drawText(QRect(0, 0, 16, 15), Qt::AlignCenter, QStringLiteral("?"));
}

// A pencil across a page: the edits kept beside the survey.
void DrawSaveEdits(QPainter& p)
{
    Page(p, 1, 1, 10, 14);
    TextLines(p, 3, 7, 5, 11);
    p.setPen(QPen(QColor(0xc0, 0x80, 0x20), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(7, 12, 13, 4);
    p.setPen(QPen(kInk, 1));
    p.drawLine(6, 13, 7, 12);
}

// A hooked arrow turning left (undo) or, mirrored, right (redo).
void DrawTurnArrow(QPainter& p, bool right)
{
    if (right) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    const QColor blue(0x20, 0x40, 0xb0);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(5, 6);
    hook.lineTo(10, 6);
    hook.cubicTo(15, 6, 15, 13, 10, 13);
    hook.lineTo(7, 13);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPolygon(QPolygon({QPoint(1, 6), QPoint(6, 1), QPoint(6, 11)}));
}

void DrawUndo(QPainter& p) { DrawTurnArrow(p, false); }
void DrawRedo(QPainter& p) { DrawTurnArrow(p, true); }

QPixmap Render(void (*draw)(QPainter&), int scale)
{
    QPixmap pixmap(16 * scale, 15 * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, scale > 1);
    painter.scale(scale, scale);
    draw(painter);
    return pixmap;
}

} // namespace

QIcon ToolbarIcon(ToolIcon image)
{
    void (*draw)(QPainter&) = nullptr;
    switch (image) {
    case ToolIcon::New: draw = DrawNew; break;
    case ToolIcon::Open: draw = DrawOpen; break;
    case ToolIcon::Export: draw = DrawExport; break;
    case ToolIcon::SaveEdits: draw = DrawSaveEdits; break;
    case ToolIcon::Undo: draw = DrawUndo; break;
    case ToolIcon::Redo: draw = DrawRedo; break;
    case ToolIcon::Cut: draw = DrawCut; break;
    case ToolIcon::Copy: draw = DrawCopy; break;
    case ToolIcon::Paste: draw = DrawPaste; break;
    case ToolIcon::Print: draw = DrawPrint; break;
    case ToolIcon::Help: draw = DrawHelp; break;
    case ToolIcon::None: break;
    }
    if (!draw)
        return QIcon();
    QIcon icon;
    icon.addPixmap(Render(draw, 1));
    icon.addPixmap(Render(draw, 2));
    return icon;
}
