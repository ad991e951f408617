#include "NamedRows.h"
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

struct NotANumberRow {
    const char* name;
    int box;
    const char* text;
};

class NotANumber : public CCoordsTest, public ::testing::WithParamInterface<NotANumberRow> {};

TEST_P(NotANumber, KeepsTheDialogOpenAndTheCallersValues)
{
    const int id = GetParam().box;
    const QString text = GetParam().text;
    Open();
    Type({"100", "200", "300", "400"});
    dialog->Box(id)->setText(text);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->Box(id));
    EXPECT_EQ(dialog->Box(id)->selectedText(), text);
    EXPECT_EQ(caller, (std::array{0.0, 0.0, 0.0, 0.0}));
    EXPECT_EQ(dialog->Easting(), id > 1000 ? 100.0 : 0.0) << "boxes before the failing one are read";
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(caller, (std::array{0.0, 0.0, 0.0, 0.0}));
}

INSTANTIATE_TEST_SUITE_P(CCoordsTest, NotANumber,
                         ::testing::Values(NotANumberRow{"Empty", 1001, ""}, NotANumberRow{"NoNumber", 1003, "abc"},
                                           NotANumberRow{"LetterFirst", 1000, "m 5"},
                                           NotANumberRow{"DecimalComma", 1001, "1,5"},
                                           NotANumberRow{"NumberWithATail", 1002, "1000abc"},
                                           NotANumberRow{"TwoNumbers", 1000, "12 13"},
                                           NotANumberRow{"Infinite", 1003, "1e400"}),
                         RowName());

struct CloseRow {
    const char* name;
    void (*close)(CCoords&);
};

class Closed : public CCoordsTest, public ::testing::WithParamInterface<CloseRow> {};

TEST_P(Closed, ChangesNothing)
{
    caller = {1, 2, 3, 4};
    Open();
    Type({"10", "20", "30", "40"});
    GetParam().close(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(caller, (std::array{1.0, 2.0, 3.0, 4.0}));
}

INSTANTIATE_TEST_SUITE_P(
    CCoordsTest, Closed,
    ::testing::Values(
        CloseRow{"Cancel", [](CCoords& d) { QTest::mouseClick(d.CancelButton(), Qt::LeftButton); }},
        CloseRow{"Escape", [](CCoords& d) { QTest::keyClick(d.Box(1001), Qt::Key_Escape); }},
        CloseRow{"CloseBox", [](CCoords& d) { d.close(); }}),
    RowName());

struct FontRow {
    const char* name;
    bool fixedPitch;
};

class Layout : public CCoordsTest, public ::testing::WithParamInterface<FontRow> {};

TEST_P(Layout, IsInDialogUnitsWithTheTabOrder)
{
    const QFont defaultFont = QApplication::font();
    QApplication::setFont(GetParam().fixedPitch ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : defaultFont);
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
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_LT(label->geometry().right(), dialog->Box(1000 + i)->x());
    }
    EXPECT_TRUE(!fixedPitch || widening > 0) << "a fixed-pitch font needs a wider dialog";
    for (QWidget* next : std::vector<QWidget*>{dialog->Box(1001), dialog->Box(1002), dialog->Box(1003),
                                               dialog->OkButton(), dialog->CancelButton(), dialog->Box(1000)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

// The template's layout, widened where a label's text needs more room than
// the template gives it: in a fixed-pitch font "Declination" needs 11 average
// characters and the template gives it 9.
INSTANTIATE_TEST_SUITE_P(CCoordsTest, Layout,
                         ::testing::Values(FontRow{"DefaultFont", false}, FontRow{"FixedPitchFont", true}), RowName());

TEST(DialogUnits, RoundToTheNearestPixel)
{
    EXPECT_EQ(DialogRect({6, 13}, 44, 7, 53, 15), QRect(66, 11, 80, 24));
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
