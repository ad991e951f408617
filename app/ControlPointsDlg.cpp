#include "app/ControlPointsDlg.h"

#include "app/SurveyDocument.h"
#include "app/UserPrompts.h"
#include "startup/FilePaths.h"
#include "survey/ControlPointsFile.h"
#include "survey/KestrixDoc.h"
#include "textio/NumberText.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <utility>

using namespace survey;

namespace {

constexpr int kDepthColumn = 0;
constexpr int kAzimuthColumn = 1;

// Control points are held in hundredths: two decimals show them exactly.
QString PointText(double value) { return QString::number(value, 'f', 2); }

QString FileFilter() { return ControlPointsDlg::tr("Control-point files (*.txt *.cp)"); }

} // namespace

ControlPointsDlg::ControlPointsDlg(SurveyDocument& document, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_document(document), m_prompts(prompts)
{
    setWindowTitle(tr("Control Points - %1").arg(document.Title()));
    m_table = new QTableWidget(0, 2, this);
    m_table->setHorizontalHeaderLabels({tr("Depth (m)"), tr("Azimuth (°)")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);

    m_newDepth = new QLineEdit(this);
    m_newDepth->setPlaceholderText(tr("depth, m"));
    m_newAzimuth = new QLineEdit(this);
    m_newAzimuth->setPlaceholderText(tr("azimuth, °"));
    m_add = new QPushButton(tr("&Add"), this);
    auto* typed = new QHBoxLayout;
    typed->addWidget(new QLabel(tr("New point:"), this));
    typed->addWidget(m_newDepth);
    typed->addWidget(m_newAzimuth);
    typed->addWidget(m_add);

    m_remove = new QPushButton(tr("&Remove"), this);
    auto* import = new QPushButton(tr("&Import..."), this);
    auto* exportButton = new QPushButton(tr("&Export..."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_remove, QDialogButtonBox::ActionRole);
    buttons->addButton(import, QDialogButtonBox::ActionRole);
    buttons->addButton(exportButton, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Double-click a number to change it; each change is one step of Undo."), this));
    layout->addWidget(m_table);
    layout->addLayout(typed);
    layout->addWidget(buttons);

    // Enter adds the typed point, never closes the dialog: no button is the default.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    connect(m_add, &QPushButton::clicked, this, &ControlPointsDlg::AddTypedPoint);
    connect(m_newDepth, &QLineEdit::returnPressed, m_newAzimuth, qOverload<>(&QWidget::setFocus));
    connect(m_newAzimuth, &QLineEdit::returnPressed, this, &ControlPointsDlg::AddTypedPoint);
    connect(m_remove, &QPushButton::clicked, this, &ControlPointsDlg::RemoveSelectedPoints);
    connect(import, &QPushButton::clicked, this, &ControlPointsDlg::ImportFile);
    connect(exportButton, &QPushButton::clicked, this, &ControlPointsDlg::ExportFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemChanged, this, &ControlPointsDlg::OnCellChanged);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &ControlPointsDlg::UpdateButtons);
    // Undo, redo and the plots' clicks change the points too.
    connect(&m_document, &SurveyDocument::viewsUpdated, this, &ControlPointsDlg::Refill);
    Refill();
    resize(420, 460);
}

std::vector<ControlPoint> ControlPointsDlg::PointsInForce() const
{
    const CKestrixDoc& doc = *m_document.Doc();
    const auto count = std::clamp<std::int32_t>(doc.m_nControlPoints, 0, CKestrixDoc::kMaxControlPoints);
    return {doc.m_ControlPoints.begin(), doc.m_ControlPoints.begin() + count};
}

void ControlPointsDlg::Refill()
{
    const std::vector<ControlPointEntry> points = ControlPointsOf(*m_document.Doc());
    m_filling = true;
    m_table->setRowCount(static_cast<int>(points.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const ControlPointEntry& point = points[static_cast<std::size_t>(row)];
        for (const auto& [column, value] : {std::pair(kDepthColumn, point.depth), std::pair(kAzimuthColumn, point.azimuth)}) {
            // Items are kept: a change may come while one of them signals.
            if (QTableWidgetItem* item = m_table->item(row, column))
                item->setText(PointText(value));
            else
                m_table->setItem(row, column, new QTableWidgetItem(PointText(value)));
        }
    }
    m_filling = false;
    UpdateButtons();
}

void ControlPointsDlg::UpdateButtons()
{
    m_remove->setEnabled(!m_table->selectionModel()->selectedRows().isEmpty());
    m_add->setEnabled(m_document.Doc()->m_nControlPoints < CKestrixDoc::kMaxControlPoints);
}

bool ControlPointsDlg::ReadPoint(const QString& depth, const QString& azimuth, ControlPoint& point)
{
    ControlPointEntry entry{0, 0};
    int x = 0, y = 0;
    if (!textio::ReadWholeNumber(depth.trimmed().toStdString(), entry.depth)
        || !textio::ReadWholeNumber(azimuth.trimmed().toStdString(), entry.azimuth)
        || !ScaledControlPoint(entry, m_document.Doc()->m_dScale, x, y)) {
        m_prompts.ShowMessage(this, tr("A control point is a depth in metres and an azimuth in degrees,\n"
                                       "each a number such as 123.45, with a point for the decimals.\n"
                                       "Not a control point: %1 %2")
                                        .arg(depth, azimuth));
        return false;
    }
    point = {x, y};
    return true;
}

bool ControlPointsDlg::AddTypedPoint()
{
    if (m_document.Doc()->m_nControlPoints >= CKestrixDoc::kMaxControlPoints) {
        m_prompts.ShowMessage(this, tr("At most %1 control points").arg(CKestrixDoc::kMaxControlPoints));
        return false;
    }
    ControlPoint point{};
    if (!ReadPoint(m_newDepth->text(), m_newAzimuth->text(), point))
        return false;
    m_document.Apply(edit::AddControlPoint{point});
    m_newDepth->clear();
    m_newAzimuth->clear();
    m_newDepth->setFocus();
    return true;
}

void ControlPointsDlg::OnCellChanged(QTableWidgetItem* item)
{
    if (m_filling)
        return;
    const int row = item->row();
    std::vector<ControlPoint> points = PointsInForce();
    const QTableWidgetItem* depth = m_table->item(row, kDepthColumn);
    const QTableWidgetItem* azimuth = m_table->item(row, kAzimuthColumn);
    ControlPoint point{};
    if (row >= static_cast<int>(points.size()) || !depth || !azimuth
        || !ReadPoint(depth->text(), azimuth->text(), point)) {
        // The message is shown after the editor closed; the cell shows the point again.
        QMetaObject::invokeMethod(this, &ControlPointsDlg::Refill, Qt::QueuedConnection);
        return;
    }
    points[static_cast<std::size_t>(row)] = point;
    m_document.Apply(edit::SetControlPoints{points});
    Refill(); // a number typed as 37.8 shows as the 37.80 held
}

bool ControlPointsDlg::RemoveSelectedPoints()
{
    std::set<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows.insert(index.row());
    const std::vector<ControlPoint> before = PointsInForce();
    std::erase_if(rows, [&](int row) { return row >= static_cast<int>(before.size()); });
    if (rows.empty())
        return false;
    if (rows.size() == 1) {
        m_document.Apply(edit::RemoveControlPoint{*rows.begin()});
        return true;
    }
    std::vector<ControlPoint> kept;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (!rows.contains(static_cast<int>(i)))
            kept.push_back(before[i]);
    }
    m_document.Apply(edit::SetControlPoints{kept});
    return true;
}

// The file's points follow those in force, as kestrix-batch's --control-points adds them.
bool ControlPointsDlg::ImportFile()
{
    const QString start = QFileInfo(m_document.PathName()).absolutePath();
    const std::optional<QString> chosen =
        m_prompts.ChooseFile(this, UserPrompts::FileUse::Read, tr("Import Control Points"), start, FileFilter());
    if (!chosen)
        return false;
    const std::string path = ToFilePath(*chosen);
    FileLineSource source(path, textio::ReadFrom::RegularFileOnly);
    std::vector<ControlPointEntry> read;
    std::string error;
    if (!source.IsOpen()) {
        error = textio::Format("Cannot open the control-point file\n  %s", path.c_str());
    } else if (ReadControlPoints(source, path, read, error)
               && PointsInForce().size() + read.size() > static_cast<std::size_t>(CKestrixDoc::kMaxControlPoints)) {
        error = textio::Format("%s: with the %zu control points in force, more than %d", path.c_str(),
                               PointsInForce().size(), CKestrixDoc::kMaxControlPoints);
    }
    if (!error.empty()) {
        m_prompts.ShowMessage(this, FromFilePath(error) + tr("\nNo control point was added."));
        return false;
    }
    std::vector<ControlPoint> points = PointsInForce();
    for (const ControlPointEntry& entry : read) {
        int x = 0, y = 0;
        ScaledControlPoint(entry, m_document.Doc()->m_dScale, x, y); // the reader checked it fits
        points.push_back({x, y});
    }
    m_document.Apply(edit::SetControlPoints{points});
    return !read.empty();
}

bool ControlPointsDlg::ExportFile()
{
    const QFileInfo survey(m_document.PathName());
    const QString start = survey.dir().filePath(survey.completeBaseName() + QStringLiteral("-control-points.txt"));
    const std::optional<QString> chosen =
        m_prompts.ChooseFile(this, UserPrompts::FileUse::Write, tr("Export Control Points"), start, FileFilter());
    if (!chosen)
        return false;
    const std::string path = ToFilePath(*chosen);
    const auto status = WriteControlPointsFile(ControlPointsOf(*m_document.Doc()), path);
    if (status == textio::SafeFileWriter::Status::Ok)
        return true;
    m_prompts.ShowMessage(this, FromFilePath(textio::WriteFailureMessage(status, path)));
    return false;
}
