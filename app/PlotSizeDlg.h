#pragma once

#include <QDialog>
#include <QSize>

class QSpinBox;

// The size of a plot picture: width and height in pixels, each 1 to the
// largest picture side.
class CPlotSizeDlg : public QDialog {
    Q_OBJECT
public:
    CPlotSizeDlg(QSize initial, QWidget* parent = nullptr);

    QSize Size() const;

private:
    QSpinBox* m_width = nullptr;
    QSpinBox* m_height = nullptr;
};
