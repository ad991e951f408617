#pragma once

#include <QDialog>

// The About box: program icon, name and version, what the program does, OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
