#include "NamedRows.h"
#include "convert/fenwold/CCoords.h"
#include "convert/fenwold/DialogUnits.h"
#include "geomag/Date.h"
#include "survey/Site.h"
#include "textio/NumberText.h"

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

struct ModelRow {
    const char* name;
    const char* easting;
    const char* crs;
    const char* date;
    const char* says; // in the model's text
    bool fills;
};

class FromModel : public CCoordsTest, public ::testing::WithParamInterface<ModelRow> {};

TEST_P(FromModel, FillsConvergenceLessDOrSaysWhyAndKeepsTheBox)
{
    const ModelRow& row = GetParam();
    Open();
    Type({row.easting, "7034815", "286", "1.25"});
    QTest::keyClicks(dialog->CrsBox(), row.crs);
    QTest::keyClicks(dialog->DateBox(), row.date);
    QTest::mouseClick(dialog->FromModelButton(), Qt::LeftButton);
    const QString said = dialog->ModelText().replace(QChar(0xA0), QLatin1Char(' '));
    EXPECT_TRUE(said.contains(row.says)) << said.toStdString();
    QLabel* text = dialog->findChildren<QLabel*>()[6]; // the model's, after the boxes' six
    EXPECT_GE(text->height(), text->heightForWidth(text->width())) << "the text is not cut off";
    EXPECT_GT(dialog->OkButton()->y(), text->geometry().bottom());
    if (!row.fills) {
        EXPECT_EQ(dialog->Box(1003)->text(), "1.25");
        return;
    }
    survey::Site site;
    site.epsg = 32633;
    site.date = geomag::ParseDate(row.date);
    const survey::SiteReference reference = survey::ReferenceAt(site, 512430, 7034815, 286);
    ASSERT_TRUE(reference.SurveyDeclination());
    const std::string declination = textio::Format("%.2f", *reference.SurveyDeclination());
    EXPECT_EQ(dialog->Box(1003)->text(), QString::fromStdString(declination));
    const std::string used = survey::EastWestText(reference.field->declinationDegrees) + ", convergence "
                           + textio::Format("%.2f", reference.place->convergence) + "\u00B0 ("
                           + reference.place->crsName + "); declination = convergence \u2212 D";
    EXPECT_TRUE(said.contains(QString::fromStdString(used))) << said.toStdString();
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(textio::Format("%.2f", caller[3]), declination);
}

// Only the last row's date is outside IGRF-14 (to 2030.0).
INSTANTIATE_TEST_SUITE_P(
    CCoordsTest, FromModel,
    ::testing::Values(
        ModelRow{"Utm33North", "512430", "EPSG:32633", "2008-06-01", "IGRF-14, 2008-06-01: D ", true},
        ModelRow{"NoDate", "512430", "EPSG:32633", "", "date as YYYY-MM-DD", false},
        ModelRow{"NoCrs", "512430", "", "2008-06-01", "CRS as EPSG:N", false},
        ModelRow{"CrsNotEpsgText", "512430", "32633", "2008-06-01", "not of the form EPSG:N", false},
        ModelRow{"Geographic", "512430", "EPSG:4326", "2008-06-01", "projected", false},
        ModelRow{"EastingNotANumber", "512430x", "EPSG:32633", "2008-06-01", "easting is not a number", false},
        ModelRow{"AfterTheModel", "512430", "EPSG:32633", "2031-01-01", "outside IGRF-14", false}),
    RowName());

TEST_F(CCoordsTest, StatesTheSignRuleOnceWithOrWithoutTheLasLines)
{
    Open();
    EXPECT_EQ(dialog->RuleText(), "The declination is subtracted from the magnetic azimuth.");
    dialog->ShowFromLas({"Declination from DECL 2.5 (east positive), entered as -2.50"});
    EXPECT_FALSE(dialog->FromLasText().contains("subtracted"));
    EXPECT_GT(dialog->OkButton()->y(), dialog->findChildren<QLabel*>().back()->geometry().bottom());
}

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
    const int widening = dialog->Box(1000)->x() - DialogRect(units, 44, 7, 53, 14).x();
    EXPECT_GE(widening, 0);
    EXPECT_GE(dialog->width(), templateSize.width() + widening);
    EXPECT_EQ(dialog->Box(1003)->geometry(), DialogRect(units, 44, 62, 53, 14).translated(widening, 0));
    EXPECT_EQ(dialog->DateBox()->geometry(), DialogRect(units, 44, 98, 53, 14).translated(widening, 0));
    // The buttons keep their columns and size, below every text.
    const auto labels = dialog->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 8);
    const int buttonsTop = labels.back()->geometry().bottom() + 1 + DialogRect(units, 0, 0, 0, 8).height();
    EXPECT_EQ(dialog->OkButton()->geometry(), DialogRect(units, 7, 0, 39, 14).translated(0, buttonsTop));
    EXPECT_EQ(dialog->CancelButton()->geometry(), DialogRect(units, 58, 0, 39, 14).translated(widening, buttonsTop));
    EXPECT_EQ(dialog->height(), dialog->OkButton()->geometry().bottom() + 1 + DialogRect(units, 0, 0, 0, 7).height());
    EXPECT_EQ(labels[3]->text(), "Declination");
    QLineEdit* boxes[6] = {dialog->Box(1000), dialog->Box(1001), dialog->Box(1002),
                           dialog->Box(1003), dialog->CrsBox(),  dialog->DateBox()};
    for (int i = 0; i < 6; ++i) {
        QLabel* label = labels[i];
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_LT(label->geometry().right(), boxes[i]->x());
    }
    EXPECT_TRUE(!fixedPitch || widening > 0) << "a fixed-pitch font needs a wider dialog";
    for (QWidget* next :
         std::vector<QWidget*>{dialog->Box(1001), dialog->Box(1002), dialog->Box(1003), dialog->CrsBox(),
                               dialog->DateBox(), dialog->FromModelButton(), dialog->OkButton(), dialog->CancelButton(),
                               dialog->Box(1000)}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

// The template's layout, widened where a label's text needs more room than
// the template gives it: in a fixed-pitch font "Declination" needs 11 average
// characters and the template gives it 9. The CRS and date follow in the
// boxes' column; the texts below them push the buttons down.
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
