#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <vector>

namespace survey {
class CKestrixDoc;
struct ListingText;
} // namespace survey

class ViewServices;

// The listing window: the collar and a table of measured and computed values
// of about one observation per 10 m, read from the document at every paint.
// No scrolling and no selection; moving the mouse over it empties both
// status bar panes.
class CKestrixView : public QWidget {
    Q_OBJECT
public:
    // `doc` and `services` are not owned and must outlive the view.
    CKestrixView(survey::CKestrixDoc& doc, ViewServices& services, QWidget* parent = nullptr);

    // One piece of text as drawn: its top-left corner in view pixels.
    struct DrawnPiece {
        QPoint topLeft;
        QString text;
    };

    // The listing font: fixed pitch, normal weight, a 16-pixel cell.
    static QFont ListingFont();
    static constexpr int kLineHeight = 16;

    // Draws `listing` with its top-left at the origin: line k at y = 16 k,
    // each piece where the one before it ended. Appends what it drew where to
    // `drawn` when given. Lines wholly below `bottom` are skipped.
    static void DrawListing(QPainter& painter, const survey::ListingText& listing,
                            std::vector<DrawnPiece>* drawn = nullptr, int bottom = -1);

    // Paints the document's listing.
    void OnDraw(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    survey::CKestrixDoc& m_doc;
    ViewServices& m_services;
};
