#pragma once

#include "tessary/TessaryExport.h"

#include <QTreeWidget>

class QFontMetrics;
class QPainter;
class QPrinter;

/// A simple list with a title that can print itself: the title on the
/// first page, then the column headings and the rows, page after page.
class TESSARY_EXPORT CExtendedListCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CExtendedListCtrl(QWidget* parent = nullptr);

    void SetTitle(const QString& title) { m_title = title; }
    QString GetTitle() const { return m_title; }
    int GetColumnCount() const { return m_columns; }
    int InsertColumn(int column, const QString& heading, int format = 0, int width = 100, int subItem = -1);
    bool DeleteColumn(int column);
    bool DeleteAllColumns();
    /// The greatest text length among the column's items.
    int GetStrLength(int column) const;
    /// The first text of that greatest length.
    QString GetStrUpperLength(int column) const;
    /// The greatest text width with the metrics.
    int GetStrUpperLength(int column, const QFontMetrics& metrics) const;

    /// Prints on a printer whose page the painter has begun. Returns the
    /// number of pages printed.
    int Draw(QPainter& painter, QPrinter& printer);

private:
    QString m_title;
    int m_columns = 0;
};
