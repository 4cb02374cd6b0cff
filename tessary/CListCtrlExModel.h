#pragma once

// The rows and columns behind the extended list control, shared by the
// files that implement it.
#include "tessary/CListCtrlEx.h"

#include <QAbstractTableModel>
#include <QString>

#include <memory>
#include <vector>

class CListCtrlEx::Model : public QAbstractTableModel
{
public:
    struct Row
    {
        std::vector<QString> texts;
        int image = -1;
        int overlay = 0;
        std::unique_ptr<CItemAttributes> attributes;
    };
    struct Column
    {
        QString heading;
        int format = 0;
        int subItem = -1;
    };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(columns.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        const Row& row = rows[static_cast<std::size_t>(index.row())];
        const auto c = static_cast<std::size_t>(index.column());
        return c < row.texts.size() ? row.texts[c] : QString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
            return {};
        const Column& column = columns[static_cast<std::size_t>(section)];
        if (role == Qt::DisplayRole)
            return column.heading;
        if (role == Qt::TextAlignmentRole)
            return int((column.format & 3) == 1   ? Qt::AlignRight
                       : (column.format & 3) == 2 ? Qt::AlignHCenter
                                                  : Qt::AlignLeft) |
                   int(Qt::AlignVCenter);
        return {};
    }
    void InsertRow(int at, Row row)
    {
        beginInsertRows(QModelIndex(), at, at);
        rows.insert(rows.begin() + at, std::move(row));
        endInsertRows();
    }
    void RemoveRow(int at)
    {
        beginRemoveRows(QModelIndex(), at, at);
        rows.erase(rows.begin() + at);
        endRemoveRows();
    }
    void RemoveAll()
    {
        beginResetModel();
        rows.clear();
        endResetModel();
    }
    void Changed(int row, int column)
    {
        const QModelIndex i = index(row, std::max(0, column));
        emit dataChanged(i, i);
    }
    void Reordered(std::vector<Row> reordered)
    {
        emit layoutAboutToBeChanged();
        rows = std::move(reordered);
        emit layoutChanged();
    }
    void InsertColumnAt(int at, Column column)
    {
        beginInsertColumns(QModelIndex(), at, at);
        columns.insert(columns.begin() + at, std::move(column));
        for (Row& row : rows) {
            if (static_cast<int>(row.texts.size()) > at)
                row.texts.insert(row.texts.begin() + at, QString());
        }
        endInsertColumns();
    }
    void RemoveColumnAt(int at)
    {
        beginRemoveColumns(QModelIndex(), at, at);
        columns.erase(columns.begin() + at);
        for (Row& row : rows) {
            if (static_cast<int>(row.texts.size()) > at)
                row.texts.erase(row.texts.begin() + at);
        }
        endRemoveColumns();
    }

    std::vector<Row> rows;
    std::vector<Column> columns;
};
