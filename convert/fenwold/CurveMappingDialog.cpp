#include "convert/fenwold/CurveMappingDialog.h"

#include "convert/CurveUnits.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace convert;

namespace {

enum Column { kMnemonic, kLasUnit, kDescription, kFirstValues, kUseAs, kUnit, kColumnCount };

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QTableWidgetItem* ReadOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

CurveMappingDialog::CurveMappingDialog(const LasPreview& preview, const MappingProposal& proposal, bool remembered,
                                       QWidget* parent)
    : QDialog(parent), m_curves(preview.curves)
{
    setWindowTitle(tr("Curves of the LAS file"));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(tr("Choose the curve that gives each of kestrix's columns DEPTH, MagX, MagY, MagZ, "
                                "AccX, AccY and AccZ, and the unit it is in. They are written first, in metres, "
                                "gauss and g; the other curves follow as they are."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    if (remembered)
        layout->addWidget(new QLabel(tr("The choices are those confirmed for an earlier file with the same curves."),
                                     this));

    m_table = new QTableWidget(static_cast<int>(m_curves.size()), kColumnCount, this);
    m_table->setHorizontalHeaderLabels(
        {tr("Mnemonic"), tr("LAS unit"), tr("Description"), tr("First values"), tr("Use as"), tr("Unit")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const LasCurve& curve = m_curves[static_cast<std::size_t>(row)];
        QStringList values;
        for (const std::vector<std::string>& record : preview.firstRows) {
            if (static_cast<std::size_t>(row) < record.size())
                values << Text(record[static_cast<std::size_t>(row)]);
        }
        m_table->setItem(row, kMnemonic, ReadOnlyItem(Text(curve.mnemonic)));
        m_table->setItem(row, kLasUnit, ReadOnlyItem(Text(curve.unit)));
        m_table->setItem(row, kDescription, ReadOnlyItem(Text(curve.name)));
        m_table->setItem(row, kFirstValues, ReadOnlyItem(values.join(QStringLiteral("   "))));

        auto* useAs = new QComboBox(m_table);
        useAs->addItem(QString(), -1);
        for (std::size_t axis = 0; axis < kAxisCount; ++axis)
            useAs->addItem(Text(kAxisNames[axis]), static_cast<int>(axis));
        auto* unit = new QComboBox(m_table);
        m_table->setCellWidget(row, kUseAs, useAs);
        m_table->setCellWidget(row, kUnit, unit);
        // The converter takes the first curve of a mnemonic; a later one cannot be chosen.
        bool repeated = false;
        for (int earlier = 0; earlier < row; ++earlier)
            repeated = repeated || SameIgnoringCase(m_curves[static_cast<std::size_t>(earlier)].mnemonic, curve.mnemonic);
        if (repeated) {
            useAs->setEnabled(false);
            useAs->setToolTip(tr("An earlier curve has the same mnemonic."));
        }
        std::optional<Unit> proposedUnit;
        for (std::size_t axis = 0; axis < kAxisCount && !repeated; ++axis) {
            const std::optional<MappedCurve>& proposed = proposal.curves[axis];
            if (proposed && SameIgnoringCase(proposed->mnemonic, curve.mnemonic)) {
                useAs->setCurrentIndex(static_cast<int>(axis) + 1);
                proposedUnit = proposed->unit;
                break;
            }
        }
        if (!proposedUnit && AxisOfRow(row)) // placed, but its unit field names no unit of the quantity
            proposedUnit = UnitFor(QuantityOf(*AxisOfRow(row)), curve.unit);
        FillUnits(row, proposedUnit);
        connect(useAs, &QComboBox::currentIndexChanged, this, [this, row] {
            const std::optional<Axis> axis = AxisOfRow(row);
            FillUnits(row, axis ? UnitFor(QuantityOf(*axis), m_curves[static_cast<std::size_t>(row)].unit)
                                : std::nullopt);
            Check();
        });
        connect(unit, &QComboBox::currentIndexChanged, this, &CurveMappingDialog::Check);
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table);

    m_status = new QLabel(this);
    layout->addWidget(m_status);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(std::max(640, m_table->horizontalHeader()->length() + 40), 420);
    Check();
}

QComboBox* CurveMappingDialog::UseAsBox(int row) const
{
    return qobject_cast<QComboBox*>(m_table->cellWidget(row, kUseAs));
}

QComboBox* CurveMappingDialog::UnitBox(int row) const
{
    return qobject_cast<QComboBox*>(m_table->cellWidget(row, kUnit));
}

std::optional<Axis> CurveMappingDialog::AxisOfRow(int row) const
{
    const int axis = UseAsBox(row)->currentData().toInt();
    return axis >= 0 ? std::optional(static_cast<Axis>(axis)) : std::nullopt;
}

std::optional<Unit> CurveMappingDialog::UnitOfRow(int row) const
{
    const std::optional<Axis> axis = AxisOfRow(row);
    if (!axis)
        return std::nullopt;
    const int index = UnitBox(row)->currentData().toInt();
    const std::vector<Unit> units = UnitsOf(QuantityOf(*axis));
    return index >= 0 && index < static_cast<int>(units.size()) ? std::optional(units[static_cast<std::size_t>(index)])
                                                                 : std::nullopt;
}

// The unit box offers the units of the row's quantity, with an empty first
// choice: a unit field the converter cannot read is not guessed.
void CurveMappingDialog::FillUnits(int row, std::optional<Unit> chosen)
{
    QComboBox* box = UnitBox(row);
    const QSignalBlocker quiet(box);
    box->clear();
    const std::optional<Axis> axis = AxisOfRow(row);
    box->setEnabled(axis.has_value());
    if (!axis)
        return;
    box->addItem(QString(), -1);
    const std::vector<Unit> units = UnitsOf(QuantityOf(*axis));
    for (std::size_t i = 0; i < units.size(); ++i) {
        box->addItem(Text(units[i].name), static_cast<int>(i));
        if (chosen && units[i] == *chosen)
            box->setCurrentIndex(box->count() - 1);
    }
}

QString CurveMappingDialog::Status() const { return m_status->text(); }

void CurveMappingDialog::Check()
{
    std::array<int, kAxisCount> chosen{};
    QStringList withoutUnit;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (const std::optional<Axis> axis = AxisOfRow(row)) {
            ++chosen[static_cast<std::size_t>(*axis)];
            if (!UnitOfRow(row))
                withoutUnit << Text(AxisName(*axis));
        }
    }
    QStringList missing, twice;
    for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
        if (chosen[axis] == 0)
            missing << Text(kAxisNames[axis]);
        else if (chosen[axis] > 1)
            twice << Text(kAxisNames[axis]);
    }
    QStringList problems;
    if (!missing.isEmpty())
        problems << tr("Still to choose: %1.").arg(missing.join(QStringLiteral(", ")));
    if (!twice.isEmpty())
        problems << tr("Chosen for more than one curve: %1.").arg(twice.join(QStringLiteral(", ")));
    if (!withoutUnit.isEmpty())
        problems << tr("Choose the unit of %1.").arg(withoutUnit.join(QStringLiteral(", ")));
    m_status->setText(problems.isEmpty() ? tr("Every column has its curve.") : problems.join(QLatin1Char(' ')));
    m_ok->setEnabled(problems.isEmpty());
}

std::optional<CurveMapping> CurveMappingDialog::Mapping() const
{
    if (!m_ok->isEnabled())
        return std::nullopt;
    CurveMapping mapping;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (const std::optional<Axis> axis = AxisOfRow(row))
            mapping.curves[static_cast<std::size_t>(*axis)] = {m_curves[static_cast<std::size_t>(row)].mnemonic,
                                                               *UnitOfRow(row)};
    }
    return mapping;
}
