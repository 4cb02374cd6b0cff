#pragma once

#include "engine/ScriptStatistics.h"
#include "pages/PropertySheet.h"

#include <string>

class CColorStatic;
class CListCtrlEx;
class CTrelvarDoc;
class QLabel;

/// Where the dictionary lives and its default folders, the only values of
/// the sheet the user may change.
class CPageLocation : public SheetPage
{
    Q_OBJECT
public:
    explicit CPageLocation(CTrelvarDoc* document, QWidget* parent = nullptr);
    void OnApply() override;

    QLabel* SourceFolder() const { return m_source; }
    QLabel* DestinationFolder() const { return m_destination; }
    /// The folder browser's choice for the default source (0) or
    /// destination (1) folder.
    void ChooseFolder(int which, const QString& folder);

private:
    CTrelvarDoc* m_document;
    QLabel* m_source;
    QLabel* m_destination;
};

/// One row per script with its dialog boxes, menus and string table, and
/// the total.
class CPageStatistics : public SheetPage
{
    Q_OBJECT
public:
    CPageStatistics(const ResourceStatistics& statistics, QWidget* parent = nullptr);
    CListCtrlEx* List() const { return m_list; }

private:
    CListCtrlEx* m_list;
};

/// The pie of translated and untranslated texts.
class PieChart : public QWidget
{
    Q_OBJECT
public:
    explicit PieChart(QWidget* parent = nullptr);
    /// The translated sector, in degrees of the full circle.
    void SetTranslatedDegrees(double degrees);
    double TranslatedDegrees() const { return m_degrees; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_degrees = 0;
};

/// How much of the dictionary is translated, as a pie and in figures.
class CPageGraphic : public SheetPage
{
    Q_OBJECT
public:
    CPageGraphic(const TranslationShare& share, QWidget* parent = nullptr);
    QLabel* TotalText() const { return m_total; }
    QLabel* TranslatedText() const { return m_translated; }
    QLabel* UntranslatedText() const { return m_untranslated; }
    PieChart* Pie() const { return m_pie; }

private:
    QLabel* m_total;
    QLabel* m_translated;
    QLabel* m_untranslated;
    PieChart* m_pie;
};

/// The source and destination of one script.
class CPageFileProperties : public SheetPage
{
    Q_OBJECT
public:
    CPageFileProperties(const std::string& source, const std::string& destination, QWidget* parent = nullptr);
};
