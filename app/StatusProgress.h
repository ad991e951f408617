#pragma once

#include "textio/Progress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <chrono>

class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;

// Shows the progress of long work (loading, exporting) in the status bar: a
// label, a bar and a Cancel button appear once the work has taken `delay`,
// and Cancel or Esc stops it. From then on each step runs the event loop, so
// the windows repaint, while every other input (mouse, keys, closing a
// window, a dropped file) is held back: nothing changes the surveys under the
// work. Everything it added goes with it.
class StatusProgress : public QObject, public textio::Progress {
public:
    StatusProgress(QStatusBar& statusBar, const QString& label,
                   std::chrono::milliseconds delay = std::chrono::milliseconds(500));
    ~StatusProgress() override;

    bool Step(std::uint64_t done, std::uint64_t total) override;

    // The bar, the Cancel button and their label, once shown; none before.
    QWidget* Shown() const { return m_box; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show();

    QStatusBar& m_statusBar;
    QString m_label;
    std::chrono::milliseconds m_delay;
    QElapsedTimer m_clock;
    QPointer<QWidget> m_box;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};
