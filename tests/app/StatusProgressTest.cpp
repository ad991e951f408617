// The status bar's progress: shown only once the work is due, stopped by
// Cancel or Esc, holding back every other input while it lasts.
#include "app/StatusProgress.h"

#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

class StatusProgressTest : public ::testing::Test {
protected:
    StatusProgressTest()
    {
        m_window.setCentralWidget(m_other);
        CountClicks(m_other);
        m_window.show();
    }
    void CountClicks(QPushButton* button)
    {
        QObject::connect(button, &QPushButton::clicked, [this] { ++m_otherClicks; });
    }
    QPushButton* CancelOf(const StatusProgress& progress) const
    {
        return progress.Shown() ? progress.Shown()->findChild<QPushButton*>() : nullptr;
    }

    QMainWindow m_window;
    QPushButton* m_other = new QPushButton("other");
    int m_otherClicks = 0;
};

TEST_F(StatusProgressTest, ShowsNothingBeforeItIsDue)
{
    StatusProgress progress(*m_window.statusBar(), "Opening", milliseconds(60000));
    EXPECT_TRUE(progress.Step(1, 2));
    EXPECT_EQ(progress.Shown(), nullptr);
}

TEST_F(StatusProgressTest, EscStopsTheWorkAndOtherInputIsHeldBack)
{
    {
        StatusProgress progress(*m_window.statusBar(), "Opening", milliseconds(0));
        ASSERT_TRUE(progress.Step(1, 2));
        ASSERT_NE(progress.Shown(), nullptr);
        EXPECT_TRUE(progress.Shown()->isVisible());
        QTest::mouseClick(m_other, Qt::LeftButton);
        EXPECT_TRUE(m_window.close() == false && m_window.isVisible()) << "the window stays while the work runs";
        EXPECT_TRUE(progress.Step(2, 2));
        QTest::keyClick(m_other, Qt::Key_Escape);
        EXPECT_FALSE(progress.Step(2, 2));
    }
    EXPECT_EQ(m_otherClicks, 0);
    EXPECT_EQ(m_window.statusBar()->findChild<QPushButton*>(), nullptr) << "the bar goes with the work";
    QTest::mouseClick(m_other, Qt::LeftButton);
    EXPECT_EQ(m_otherClicks, 1) << "input reaches the window again";
}

TEST_F(StatusProgressTest, CancelStopsTheWork)
{
    StatusProgress progress(*m_window.statusBar(), "Writing", milliseconds(0));
    ASSERT_TRUE(progress.Step(0, 0));
    QPushButton* cancel = CancelOf(progress);
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(progress.Step(1, 0));
}

} // namespace
