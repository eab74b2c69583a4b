#pragma once
// Shows a dataset in a grid: one row per row of the view, the field labels as column titles and
// the values through their edit masks.
#include "platform/dataset.h"

#include <QAbstractTableModel>
#include <QSet>
#include <QPointer>

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject *parent = nullptr);

    void setDataSource(DataSource *source);
    DataSource *dataSource() const { return m_source; }
    // Columns by field name; empty: every visible field in stored order.
    void setColumns(const QStringList &fieldNames);
    QStringList columns() const { return m_columns; }
    // Column titles in place of the field labels; an empty title keeps the label.
    void setTitles(const QStringList &titles);
    // Alignment of each column's cells (Qt::TextAlignmentRole); missing: the view's default.
    void setAlignments(const QList<Qt::Alignment> &alignments);
    // Field index shown in a column (-1 when the dataset lacks it).
    int fieldIndex(int column) const;
    // A row's value as the grid shows it; nothing when the row cannot be read (reported from the
    // event loop, and not read again until the rows are).
    std::optional<QVariant> read(int row, int fieldIndex) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void reset();
    void connectDataset();
    void rebuildColumns();
    Dataset *dataset() const;

    QPointer<DataSource> m_source;
    QPointer<Dataset> m_connected;
    QStringList m_requested;
    QStringList m_titles;
    QList<Qt::Alignment> m_alignments;
    QStringList m_columns;
    QVector<int> m_fieldIndexes;
    int m_rows = 0;
    mutable QSet<int> m_failedRows; // until the next reset
};
