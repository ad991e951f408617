#include "app/PlotSizeDlg.h"

#include "views/PlotImage.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace {

QSpinBox* SideBox(int value)
{
    auto* box = new QSpinBox;
    box->setLocale(QLocale::c());
    box->setRange(1, kMaxPlotSide);
    box->setSuffix(CPlotSizeDlg::tr(" pixels"));
    box->setValue(value);
    return box;
}

} // namespace

CPlotSizeDlg::CPlotSizeDlg(QSize initial, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Picture Size"));
    m_width = SideBox(initial.width());
    m_height = SideBox(initial.height());
    auto* form = new QFormLayout(this);
    form->addRow(tr("Width:"), m_width);
    form->addRow(tr("Height:"), m_height);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QSize CPlotSizeDlg::Size() const { return QSize(m_width->value(), m_height->value()); }
