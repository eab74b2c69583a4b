#include "platform/datasetmodel.h"

#include "platform/dialogs.h"
#include "platform/editmask.h"

DatasetModel::DatasetModel(QObject *parent) : QAbstractTableModel(parent) {}

Dataset *DatasetModel::dataset() const
{
    return m_source ? m_source->dataset() : nullptr;
}

void DatasetModel::setDataSource(DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source)
        connect(source, &DataSource::datasetChanged, this, &DatasetModel::connectDataset);
    connectDataset();
}

void DatasetModel::connectDataset()
{
    if (m_connected)
        disconnect(m_connected, nullptr, this, nullptr);
    m_connected = dataset();
    if (Dataset *d = m_connected) {
        connect(d, &Dataset::dataSetChanged, this, &DatasetModel::reset);
        connect(d, &Dataset::stateChanged, this, &DatasetModel::reset);
        connect(d, &Dataset::recordChanged, this, [this] {
            Dataset *ds = dataset();
            if (ds && ds->displayRow() >= 0 && ds->displayRow() < m_rows)
                emit dataChanged(index(ds->displayRow(), 0), index(ds->displayRow(), columnCount() - 1));
        });
    }
    reset();
}

void DatasetModel::setColumns(const QStringList &fieldNames)
{
    m_requested = fieldNames;
    reset();
}

void DatasetModel::setTitles(const QStringList &titles)
{
    m_titles = titles;
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

void DatasetModel::setAlignments(const QList<Qt::Alignment> &alignments)
{
    m_alignments = alignments;
    if (m_rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_columns.size()) - 1), {Qt::TextAlignmentRole});
}

void DatasetModel::rebuildColumns()
{
    m_columns.clear();
    m_fieldIndexes.clear();
    Dataset *d = dataset();
    if (!d || !d->active()) {
        m_columns = m_requested;
        m_fieldIndexes = QVector<int>(m_requested.size(), -1);
        return;
    }
    if (m_requested.isEmpty()) {
        for (int i = 0; i < d->fieldCount(); ++i) {
            if (d->field(i).visible()) {
                m_columns << d->field(i).name();
                m_fieldIndexes << i;
            }
        }
        return;
    }
    for (const QString &name : m_requested) {
        m_columns << name;
        Field *f = d->findField(name);
        m_fieldIndexes << (f ? f->index() : -1);
    }
}

void DatasetModel::reset()
{
    beginResetModel();
    rebuildColumns();
    Dataset *d = dataset();
    m_failedRows.clear();
    m_rows = 0;
    GuardedPosted([&] {
        if (d && d->active())
            m_rows = d->recordCount() + (d->state() == DatasetState::Insert ? 1 : 0);
    });
    endResetModel();
}

std::optional<QVariant> DatasetModel::read(int row, int fieldIndex) const
{
    // A row that failed stays blank until the rows are read again: a paint must not try it cell
    // by cell, nor report it once per cell.
    if (m_failedRows.contains(row))
        return std::nullopt;
    try {
        return dataset()->valueAt(row, fieldIndex);
    } catch (const std::exception &e) {
        m_failedRows.insert(row);
        PostError(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

int DatasetModel::fieldIndex(int column) const
{
    return m_fieldIndexes.value(column, -1);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::TextAlignmentRole && index.isValid() && index.column() < m_alignments.size())
        return int(m_alignments.at(index.column()));
    Dataset *d = dataset();
    const int fi = fieldIndex(index.column());
    if (!d || !d->active() || fi < 0 || !index.isValid())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const std::optional<QVariant> value = read(index.row(), fi);
    if (!value)
        return {};
    const QVariant &v = *value;
    if (role == Qt::EditRole)
        return v;
    const Field &f = d->field(fi);
    if (v.isNull())
        return QString();
    switch (f.type()) {
    case FieldType::Graphic:
        return QStringLiteral("(GRAPHIC)");
    case FieldType::Memo:
        return QStringLiteral("(MEMO)");
    case FieldType::Logical:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        break;
    }
    const QString s = v.toString();
    return f.editMask().isEmpty() ? s : EditMask(f.editMask()).display(s);
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (!m_titles.value(section).isEmpty())
        return m_titles.at(section);
    Dataset *d = dataset();
    const int fi = fieldIndex(section);
    if (d && d->active() && fi >= 0)
        return d->field(fi).displayLabel();
    return m_columns.value(section);
}
