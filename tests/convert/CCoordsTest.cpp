#include "CCoords.h"
#include "DialogUnits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <clocale>
#include <memory>

namespace {

class CCoordsTest : public testing::Test {
protected:
    void Open()
    {
        dialog = std::make_unique<CCoords>(easting, northing, height, declination);
        dialog->SetNoticeHandler([this](const QString& text) { notices.push_back(text); });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    void Type(int id, const QString& text)
    {
        QLineEdit* box = dialog->Box(id);
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, text);
    }
    void TypeAll(const QString& e, const QString& n, const QString& h, const QString& d)
    {
        Type(1000, e);
        Type(1001, n);
        Type(1002, h);
        Type(1003, d);
    }
    void ExpectCaller(double e, double n, double h, double d) const
    {
        EXPECT_EQ(easting, e);
        EXPECT_EQ(northing, n);
        EXPECT_EQ(height, h);
        EXPECT_EQ(declination, d);
    }

    double easting = 0.0, northing = 0.0, height = 0.0, declination = 0.0;
    std::unique_ptr<CCoords> dialog;
    std::vector<QString> notices;
};

TEST_F(CCoordsTest, OpensWithTheValuesAndFocusOnTheFirstBox)
{
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Collar coordinates");
    for (int id = 1000; id <= 1003; ++id)
        EXPECT_EQ(dialog->Box(id)->text(), "0") << id;
    EXPECT_EQ(QApplication::focusWidget(), dialog->Box(1000));
    EXPECT_EQ(dialog->Box(1000)->selectedText(), "0");
    EXPECT_TRUE(dialog->OkButton()->isDefault());
}

TEST_F(CCoordsTest, BoxesShowFifteenSignificantDigits)
{
    easting = 500000.25;
    northing = 12345678901234567.0;
    height = 1e-7;
    declination = -0.5;
    Open();
    EXPECT_EQ(dialog->Box(1000)->text(), "500000.25");
    EXPECT_EQ(dialog->Box(1001)->text(), "1.23456789012346e+16");
    EXPECT_EQ(dialog->Box(1002)->text(), "1e-07");
    EXPECT_EQ(dialog->Box(1003)->text(), "-0.5");
}

TEST_F(CCoordsTest, TypedValuesReachTheCallerOnOK)
{
    Open();
    TypeAll(" 500000.25", "1e3", "12.5 m", "12,5");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(notices.empty());
    ExpectCaller(500000.25, 1000.0, 12.5, 12.0);
}

TEST_F(CCoordsTest, EnterConfirms)
{
    Open();
    TypeAll("1", "2", "-3", "4.5");
    QTest::keyClick(dialog->Box(1003), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ExpectCaller(1.0, 2.0, -3.0, 4.5);
}

TEST_F(CCoordsTest, BoxWithoutANumberKeepsTheDialogOpen)
{
    struct Case {
        int id;
        QString text;
    };
    for (const Case& c : {Case{1000, ""}, Case{1001, ""}, Case{1002, "abc"}, Case{1003, " m 5"}}) {
        notices.clear();
        Open();
        TypeAll("100", "200", "300", "400");
        Type(c.id, c.text);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        EXPECT_EQ(notices.size(), 1u) << c.id;
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dialog->Box(c.id));
        EXPECT_EQ(dialog->Box(c.id)->selectedText(), c.text);
        ExpectCaller(0.0, 0.0, 0.0, 0.0);
        // Boxes before the failing one have been read.
        EXPECT_EQ(dialog->Easting(), c.id > 1000 ? 100.0 : 0.0);
        EXPECT_EQ(dialog->Northing(), c.id > 1001 ? 200.0 : 0.0);
    }
    // Mended, the same dialog confirms.
    Type(1003, "400");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ExpectCaller(100.0, 200.0, 300.0, 400.0);
}

TEST_F(CCoordsTest, FailedOKThenCancelLeavesTheCallersValues)
{
    Open();
    TypeAll("100", "", "300", "400");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    ASSERT_EQ(notices.size(), 1u);
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ExpectCaller(0.0, 0.0, 0.0, 0.0);
}

TEST_F(CCoordsTest, CancelEscapeAndCloseChangeNothing)
{
    const std::vector<std::function<void(CCoords&)>> ways = {
        [](CCoords& d) { QTest::mouseClick(d.CancelButton(), Qt::LeftButton); },
        [](CCoords& d) { QTest::keyClick(d.Box(1001), Qt::Key_Escape); },
        [](CCoords& d) { d.close(); },
    };
    easting = 1.0;
    northing = 2.0;
    height = 3.0;
    declination = 4.0;
    for (const auto& close : ways) {
        Open();
        TypeAll("10", "20", "30", "40");
        close(*dialog);
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        ExpectCaller(1.0, 2.0, 3.0, 4.0);
    }
}

TEST_F(CCoordsTest, TabRunsThroughTheBoxesThenOKAndCancel)
{
    Open();
    const std::vector<QWidget*> order = {dialog->Box(1001), dialog->Box(1002), dialog->Box(1003),
                                         dialog->OkButton(), dialog->CancelButton(), dialog->Box(1000)};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

TEST_F(CCoordsTest, LaidOutInDialogUnitsOfItsFont)
{
    Open();
    const DialogBaseUnits units = BaseUnitsOf(dialog->font());
    ASSERT_GT(units.x, 0);
    EXPECT_EQ(dialog->size(), DialogRect(units, 0, 0, 104, 105).size());
    EXPECT_EQ(dialog->Box(1000)->geometry(), DialogRect(units, 44, 7, 53, 14));
    EXPECT_EQ(dialog->Box(1003)->geometry(), DialogRect(units, 44, 62, 53, 14));
    EXPECT_EQ(dialog->OkButton()->geometry(), DialogRect(units, 7, 84, 39, 14));
    EXPECT_EQ(dialog->CancelButton()->geometry(), DialogRect(units, 58, 84, 39, 14));
    std::map<QString, QRect> labels;
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        labels[label->text()] = label->geometry();
    EXPECT_EQ(labels["Easting"], DialogRect(units, 7, 9, 30, 8));
    EXPECT_EQ(labels["Declination"], DialogRect(units, 7, 64, 36, 8));
}

TEST(DialogUnits, MulDivRoundsToNearest)
{
    EXPECT_EQ(MulDiv(44, 7, 4), 77);
    EXPECT_EQ(MulDiv(7, 13, 8), 11);  // 11.375
    EXPECT_EQ(MulDiv(3, 5, 2), 8);    // 7.5
    EXPECT_EQ(MulDiv(-3, 5, 2), -8);
    EXPECT_EQ(DialogRect({6, 13}, 44, 7, 53, 14), QRect(66, 11, 80, 23));
}

TEST_F(CCoordsTest, NumbersIgnoreACommaDecimalLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no de_DE.utf8 locale";
    easting = 0.5;
    Open();
    EXPECT_EQ(dialog->Box(1000)->text(), "0.5");
    TypeAll("2.25", "1", "1", "1");
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(easting, 2.25);
}

} // namespace
