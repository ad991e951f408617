#include "app/AboutDlg.h"

#include "app/AppIcon.h"
#include "app/ProgramInfo.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About %1").arg(kProgramName));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* version = new QLabel(tr("%1, Version %2").arg(kProgramName, kProgramVersion), this);
    version->setTextFormat(Qt::PlainText);
    auto* purpose = new QLabel(
        tr("Resolves borehole magnetic data into East, North and Up components"), this);
    purpose->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1);
    layout->addWidget(version, 0, 1);
    layout->addWidget(purpose, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
