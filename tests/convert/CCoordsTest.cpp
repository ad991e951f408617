#include "convert/fenwold/CCoords.h"
#include "convert/fenwold/DialogUnits.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <memory>

namespace {

class CCoordsTest : public testing::Test {
protected:
    void Open()
    {
        dialog = std::make_unique<CCoords>(caller[0], caller[1], caller[2], caller[3]);
        dialog->SetNoticeHandler([this](const QString&) { ++notices; });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    void Type(std::array<QString, 4> texts)
    {
        for (int i = 0; i < 4; ++i) {
            dialog->Box(1000 + i)->clear();
            QTest::keyClicks(dialog->Box(1000 + i), texts[static_cast<std::size_t>(i)]);
        }
    }

    std::array<double, 4> caller{}; // easting, northing, height, declination
    std::unique_ptr<CCoords> dialog;
    int notices = 0;
};

TEST_F(CCoordsTest, OpensWithFifteenDigitValuesAndFocusOnEasting)
{
    Open();
    EXPECT_EQ(dialog->Box(1003)->text(), "0");
    EXPECT_EQ(QApplication::focusWidget(), dialog->Box(1000));
    EXPECT_EQ(dialog->Box(1000)->selectedText(), "0");
    caller = {500000.25, 12345678901234567.0, 1e-7, -0.5};
    Open();
    EXPECT_EQ(dialog->Box(1000)->text() + " " + dialog->Box(1001)->text() + " " + dialog->Box(1002)->text() + " "
                  + dialog->Box(1003)->text(),
              "500000.25 1.23456789012346e+16 1e-07 -0.5");
}

TEST_F(CCoordsTest, TypedValuesReachTheCallerOnOKOrEnter)
{
    Open();
    Type({" 500000.25 ", "1e3", "0x1p3", "-.5\t"});
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(caller, (std::array{500000.25, 1000.0, 8.0, -0.5}));
    Open();
    Type({"1", "2", "-3", "4.5"});
    QTest::keyClick(dialog->Box(1003), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(caller, (std::array{1.0, 2.0, -3.0, 4.5}));
}

TEST_F(CCoordsTest, BoxWithoutANumberKeepsTheDialogOpenAndTheCallersValues)
{
    // Empty, no number, a number with a tail, two numbers, an infinite one.
    for (const auto& [id, text] : {std::pair{1001, QString()}, std::pair{1000, QString("m 5")}, std::pair{1003, QString("abc")},
                                   std::pair{1001, QString("1,5")}, std::pair{1002, QString("1000abc")},
                                   std::pair{1000, QString("12 13")}, std::pair{1003, QString("1e400")}}) {
        notices = 0;
        Open();
        Type({"100", "200", "300", "400"});
        dialog->Box(id)->setText(text);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        EXPECT_EQ(notices, 1) << text.toStdString();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(QApplication::focusWidget(), dialog->Box(id));
        EXPECT_EQ(dialog->Box(id)->selectedText(), text);
        EXPECT_EQ(caller, (std::array{0.0, 0.0, 0.0, 0.0}));
        EXPECT_EQ(dialog->Easting(), id > 1000 ? 100.0 : 0.0) << "boxes before the failing one are read";
    }
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(caller, (std::array{0.0, 0.0, 0.0, 0.0}));
}

TEST_F(CCoordsTest, CancelEscapeAndCloseChangeNothing)
{
    caller = {1, 2, 3, 4};
    for (const auto& close : std::vector<std::function<void(CCoords&)>>{
             [](CCoords& d) { QTest::mouseClick(d.CancelButton(), Qt::LeftButton); },
             [](CCoords& d) { QTest::keyClick(d.Box(1001), Qt::Key_Escape); }, [](CCoords& d) { d.close(); }}) {
        Open();
        Type({"10", "20", "30", "40"});
        close(*dialog);
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        EXPECT_EQ(caller, (std::array{1.0, 2.0, 3.0, 4.0}));
    }
}

// The template's layout, widened where a label's text needs more room than
// the template gives it, in the default font and in a fixed-pitch one (where
// "Declination" needs 11 average characters and the template gives it 9).
TEST_F(CCoordsTest, LaidOutInDialogUnitsWithTheTabOrder)
{
    const QFont defaultFont = QApplication::font();
    for (const QFont& font : {defaultFont, QFontDatabase::systemFont(QFontDatabase::FixedFont)}) {
        QApplication::setFont(font);
        Open();
        QApplication::setFont(defaultFont);
        const bool fixedPitch = QFontInfo(dialog->font()).fixedPitch();
        const DialogBaseUnits units = BaseUnitsOf(dialog->font());
        const QSize templateSize = DialogRect(units, 0, 0, 104, 105).size();
        const int widening = dialog->width() - templateSize.width();
        EXPECT_GE(widening, 0);
        EXPECT_EQ(dialog->height(), templateSize.height());
        EXPECT_EQ(dialog->Box(1003)->geometry(), DialogRect(units, 44, 62, 53, 14).translated(widening, 0));
        EXPECT_EQ(dialog->OkButton()->geometry(), DialogRect(units, 7, 84, 39, 14));
        EXPECT_EQ(dialog->CancelButton()->geometry(), DialogRect(units, 58, 84, 39, 14).translated(widening, 0));
        const auto labels = dialog->findChildren<QLabel*>();
        ASSERT_EQ(labels.size(), 4);
        EXPECT_EQ(labels[3]->text(), "Declination");
        for (int i = 0; i < 4; ++i) {
            QLabel* label = labels[i];
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << fixedPitch;
            EXPECT_LT(label->geometry().right(), dialog->Box(1000 + i)->x()) << fixedPitch;
        }
        EXPECT_TRUE(!fixedPitch || widening > 0) << "a fixed-pitch font needs a wider dialog";
    }
    EXPECT_EQ(DialogRect({6, 13}, 44, 7, 53, 15), QRect(66, 11, 80, 24)); // rounded to nearest
    for (QWidget* next : std::vector<QWidget*>{dialog->Box(1001), dialog->Box(1002), dialog->Box(1003),
                                               dialog->OkButton(), dialog->CancelButton(), dialog->Box(1000)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

TEST_F(CCoordsTest, NumbersIgnoreACommaDecimalLocale)
{
    if (!std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no de_DE.utf8 locale";
    caller[0] = 0.5;
    Open();
    EXPECT_EQ(dialog->Box(1000)->text(), "0.5");
    Type({"2.25", "1", "1", "1"});
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(caller[0], 2.25);
}

} // namespace
