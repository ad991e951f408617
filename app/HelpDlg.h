#pragma once

#include <QDialog>

class QTextBrowser;

// Help > Kestrix Help: the user guide built into the program (a Qt resource,
// so nothing is looked up at run time), in a window beside the main one.
class HelpDlg : public QDialog {
    Q_OBJECT
public:
    explicit HelpDlg(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser = nullptr;
};
