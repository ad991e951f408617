#include "app/StatusProgress.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

namespace {

constexpr int kBarSteps = 1000;

// The input that could change a survey or a window while the work runs.
bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

} // namespace

StatusProgress::StatusProgress(QStatusBar& statusBar, const QString& label, std::chrono::milliseconds delay)
    : m_statusBar(statusBar), m_label(label), m_delay(delay)
{
    m_clock.start();
}

StatusProgress::~StatusProgress()
{
    if (!m_box)
        return;
    qApp->removeEventFilter(this);
    m_statusBar.removeWidget(m_box);
    delete m_box;
}

bool StatusProgress::Step(std::uint64_t done, std::uint64_t total)
{
    if (m_cancelled)
        return false;
    if (!m_box) {
        if (m_clock.elapsed() < m_delay.count())
            return true;
        Show();
    }
    if (total == 0) {
        m_bar->setRange(0, 0); // a busy bar: how much is left is unknown
    } else {
        m_bar->setRange(0, kBarSteps);
        m_bar->setValue(static_cast<int>(std::min(done, total) * kBarSteps / total));
    }
    QApplication::processEvents();
    return !m_cancelled;
}

void StatusProgress::Show()
{
    m_box = new QWidget;
    auto* layout = new QHBoxLayout(m_box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(m_label));
    m_bar = new QProgressBar;
    m_bar->setFixedWidth(200);
    m_bar->setTextVisible(true);
    layout->addWidget(m_bar);
    m_cancel = new QPushButton(tr("Cancel"));
    m_cancel->setToolTip(tr("Stop (Esc)"));
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    layout->addWidget(m_cancel);
    m_statusBar.addPermanentWidget(m_box);
    m_box->show();
    qApp->installEventFilter(this);
}

bool StatusProgress::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool escape = (type == QEvent::KeyPress || type == QEvent::ShortcutOverride)
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    if (escape)
        m_cancelled = true;
    // An accepted override keeps every menu shortcut from firing.
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (escape)
        return true;
    // Input reaches a widget through its window: held back at the widget,
    // so that the Cancel button alone takes it.
    if (!IsUserInput(type) || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(watched);
    if (widget == m_cancel || m_cancel->isAncestorOf(widget))
        return false;
    if (type == QEvent::Close)
        event->ignore();
    return true;
}
