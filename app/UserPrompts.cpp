#include "app/UserPrompts.h"

#include "app/AboutDlg.h"
#include "app/PlotSizeDlg.h"
#include "app/ProgramInfo.h"
#include "app/SiteDlg.h"
#include "app/SpikeSettingsDlg.h"
#include "startup/FilePaths.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>

namespace {

QString Translated(const char* text) { return QCoreApplication::translate("UserPrompts", text); }

// "*.*" would hide files without a dot in their name; these lists match every file.
QStringList OpenFilters() { return {Translated("Text Files (*.txt)"), Translated("All Files (*)")}; }
QStringList ExportFilters() { return {Translated("XYZ files (*.xyz)"), Translated("All files (*)")}; }
// The filter chosen gives a name typed without an extension its own.
QStringList PlotFilters()
{
    return {Translated("PNG images (*.png)"), Translated("SVG images (*.svg)"), Translated("PDF documents (*.pdf)")};
}
const QStringList kPlotSuffixes = {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
// In the order of survey::ResultsFormat.
QStringList ResultsFilters() { return {Translated("CSV files (*.csv)"), Translated("LAS files (*.las)")}; }
const QStringList kResultsSuffixes = {QStringLiteral("csv"), QStringLiteral("las")};

} // namespace

std::optional<QString> QtUserPrompts::OpenFileName(QWidget* parent)
{
    QFileDialog dialog(parent, Translated("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(OpenFilters());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtUserPrompts::ExportFileName(QWidget* parent, const QString& defaultPath)
{
    QFileDialog dialog(parent, Translated("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(ExportFilters());
    dialog.setDefaultSuffix(QStringLiteral("xyz"));
    dialog.selectFile(defaultPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// Unlike the XYZ file, an existing file is replaced only when the user agrees.
std::optional<ResultsFileChoice> QtUserPrompts::ResultsFileName(QWidget* parent, const QString& defaultPath)
{
    using survey::ResultsFormat;
    QFileDialog dialog(parent, Translated("Export Results"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = ResultsFilters();
    dialog.setNameFilters(filters);
    const auto index = [](ResultsFormat format) { return format == ResultsFormat::Csv ? 0 : 1; };
    const int initial = index(survey::ResultsFormatOf(ToFilePath(defaultPath), ResultsFormat::Csv));
    dialog.selectNameFilter(filters[initial]);
    dialog.setDefaultSuffix(kResultsSuffixes[initial]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& filter) {
        dialog.setDefaultSuffix(kResultsSuffixes[std::max<qsizetype>(0, filters.indexOf(filter))]);
    });
    dialog.selectFile(defaultPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    const ResultsFormat chosen = filters.indexOf(dialog.selectedNameFilter()) == 1 ? ResultsFormat::Las
                                                                                   : ResultsFormat::Csv;
    return ResultsFileChoice{path, survey::ResultsFormatOf(ToFilePath(path), chosen)};
}

std::optional<QString> QtUserPrompts::PlotFileName(QWidget* parent, const QString& defaultPath)
{
    QFileDialog dialog(parent, Translated("Save Plot As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = PlotFilters();
    dialog.setNameFilters(filters);
    const bool svg = defaultPath.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    dialog.selectNameFilter(filters[svg ? 1 : 0]);
    dialog.setDefaultSuffix(kPlotSuffixes[svg ? 1 : 0]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString& filter) {
        dialog.setDefaultSuffix(kPlotSuffixes[std::max<qsizetype>(0, filters.indexOf(filter))]);
    });
    dialog.selectFile(defaultPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QSize> QtUserPrompts::PlotPictureSize(QWidget* parent, QSize initial)
{
    CPlotSizeDlg dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Size();
}

std::optional<QualitySettings> QtUserPrompts::EditSpikeSettings(QWidget* parent, const QualitySettings& current,
                                                                survey::GravityUnit unit)
{
    CSpikeSettingsDlg dialog(current, unit, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Settings();
}

std::optional<QString> QtUserPrompts::ReportFileName(QWidget* parent, const QString& defaultPath)
{
    QFileDialog dialog(parent, Translated("Save Report As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({Translated("PDF documents (*.pdf)")});
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(defaultPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtUserPrompts::EditHoleName(QWidget* parent, const QString& current)
{
    bool accepted = false;
    const QString name = QInputDialog::getText(
        parent, Translated("Hole Name"),
        Translated("The hole's name on pictures, reports and the XYZ file's Li line\n(empty: the survey's file name):"),
        QLineEdit::Normal, current, &accepted);
    if (!accepted)
        return std::nullopt;
    return name.trimmed();
}

std::optional<QString> QtUserPrompts::DepthToGoTo(QWidget* parent, const QString& label)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, QCoreApplication::translate("UserPrompts", "Go to Depth"), label,
                                               QLineEdit::Normal, QString(), &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

std::optional<survey::Site> QtUserPrompts::EditSite(QWidget* parent, const survey::CKestrixDoc& doc)
{
    CSiteDlg dialog(doc, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.ChosenSite();
}

bool QtUserPrompts::SetUpPrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString ElideLongLines(const QString& text, int maxLength)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.size() <= maxLength)
            continue;
        qsizetype head = (maxLength - 1) / 2;
        qsizetype tail = maxLength - 1 - head;
        // Never split a character written as two UTF-16 units.
        if (head > 0 && line[head - 1].isHighSurrogate())
            --head;
        if (tail > 0 && line[line.size() - tail].isLowSurrogate())
            --tail;
        line = line.left(head) + QChar(0x2026) + line.right(tail);
    }
    return lines.join(QLatin1Char('\n'));
}

void QtUserPrompts::ShowMessage(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kProgramName, ElideLongLines(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtUserPrompts::ShowAbout(QWidget* parent)
{
    CAboutDlg dialog(parent);
    dialog.exec();
}

UserPrompts::SaveChoice QtUserPrompts::AskToSave(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, kProgramName, ElideLongLines(question),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveChoice::Save;
    case QMessageBox::Discard: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

void MessageBoxSink::ShowMessage(const std::string& text)
{
    m_prompts.ShowMessage(m_parent, FromFilePath(text));
}


std::optional<QString> QtUserPrompts::ChooseFile(QWidget* parent, FileUse use, const QString& caption,
                                                 const QString& start, const QString& filter)
{
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(use == FileUse::Write ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(use == FileUse::Write ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters({filter, Translated("All files (*)")});
    dialog.selectFile(start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
