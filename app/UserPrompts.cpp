#include "app/UserPrompts.h"

#include "app/AboutDlg.h"
#include "app/ProgramInfo.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace {

// "*.*" would hide files without a dot in their name; these lists match every file.
const QStringList kOpenFilters = {QStringLiteral("Text Files (*.txt)"),
                                  QStringLiteral("All Files (*)")};
const QStringList kExportFilters = {QStringLiteral("XYZ files (*.xyz)"),
                                    QStringLiteral("All files (*)")};

} // namespace

std::optional<QString> QtUserPrompts::OpenFileName(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(kOpenFilters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtUserPrompts::ExportFileName(QWidget* parent, const QString& defaultPath)
{
    QFileDialog dialog(parent, QStringLiteral("Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(kExportFilters);
    dialog.setDefaultSuffix(QStringLiteral("xyz"));
    dialog.selectFile(defaultPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
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
    m_prompts.ShowMessage(m_parent, FromCoreText(text));
}

QString FromCoreText(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

std::string ToCorePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}
