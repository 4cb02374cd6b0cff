#include "pages/PropertiesPages.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Messages.h"
#include "dictionary/TextRules.h"
#include "tessary/CColorStatic.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoolDisplay.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// A value the user reads (and may copy), never clipped: it wraps.
QLabel* NewValue(QWidget* parent, const char* id, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(id));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    label->setMinimumWidth(300);
    return label;
}

constexpr std::uint32_t kTranslatedColour = 0x00FF00; // green
constexpr std::uint32_t kUntranslatedColour = 0x808080;

} // namespace

CPageLocation::CPageLocation(CTrelvarDoc* document, QWidget* parent)
    : SheetPage(tr("Location"), "157", parent), m_document(document)
{
    auto* layout = new QGridLayout(this);
    const bool open = m_document && m_document->IsOpen();
    auto text = [&](const std::string& value) { return open ? DisplayText(value) : QString(); };
    layout->addWidget(new QLabel(tr("Name :"), this), 0, 0);
    layout->addWidget(NewValue(this, "1065", text(open ? m_document->Name() : std::string())), 0, 1);
    layout->addWidget(new QLabel(tr("Location :"), this), 1, 0);
    layout->addWidget(NewValue(this, "1066", text(open ? m_document->Folder() : std::string())), 1, 1);
    layout->addWidget(new QLabel(tr("Default source folder :"), this), 2, 0);
    m_source = NewValue(this, "1067", text(open ? m_document->DefaultSourceFolder() : std::string()));
    layout->addWidget(m_source, 2, 1);
    layout->addWidget(new QLabel(tr("Default destination folder :"), this), 3, 0);
    m_destination =
        NewValue(this, "1068", text(open ? m_document->DefaultDestinationFolder() : std::string()));
    layout->addWidget(m_destination, 3, 1);
    const char* ids[2] = {"1016", "1017"};
    for (int i = 0; i < 2; ++i) {
        QPushButton* browse = NewButton(this, QStringLiteral("..."), ids[i]);
        browse->setFixedWidth(32);
        browse->setToolTip(i == 0 ? tr("Default source folder") : tr("Default destination folder"));
        browse->setEnabled(open);
        connect(browse, &QPushButton::clicked, this, [this, i] {
            QLabel* field = i == 0 ? m_source : m_destination;
            const QString folder =
                QFileDialog::getExistingDirectory(this, MessageString(MsgDirectory), field->text());
            if (!folder.isEmpty())
                ChooseFolder(i, folder);
        });
        layout->addWidget(browse, 2 + i, 2);
    }
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(4, 1);
}

void CPageLocation::ChooseFolder(int which, const QString& folder)
{
    (which == 0 ? m_source : m_destination)->setText(folder);
    SetModified();
}

void CPageLocation::OnApply()
{
    if (!m_document || !m_document->IsOpen())
        return;
    const std::string source = m_source->text().toStdString();
    const std::string destination = m_destination->text().toStdString();
    // A folder written in other capitals is the same folder: stored, but
    // nothing to save for it.
    if (!EqualsNoCase(source, m_document->DefaultSourceFolder()) ||
        !EqualsNoCase(destination, m_document->DefaultDestinationFolder()))
        m_document->SetModifiedFlag();
    m_document->SetDefaultFolders(source, destination);
}

CPageStatistics::CPageStatistics(const ResourceStatistics& statistics, QWidget* parent)
    : SheetPage(tr("Statistics"), "170", parent), m_list(new CListCtrlEx(this))
{
    auto* layout = new QVBoxLayout(this);
    m_list->setObjectName(QStringLiteral("1061"));
    m_list->SetFullRowSel(true);
    // The figures' headings are never cut; the file takes what is left.
    const QString headings[4] = {tr("File"), MessageString(MsgDialogBoxes), MessageString(MsgMenus),
                                 MessageString(MsgStringtable)};
    const int widths[4] = {200, 75, 60, 70};
    for (int c = 0; c < 4; ++c)
        m_list->InsertColumn(c, headings[c], c == 0 ? CListCtrlEx::FormatLeft : CListCtrlEx::FormatRight,
                             std::max(widths[c], m_list->fontMetrics().horizontalAdvance(headings[c]) + 16));
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    if (AppSettings().Get(Settings::Flag::ShowTexture))
        m_list->SetBackGroundImage(QStringLiteral("BACKGROUND_YELLOW"));
    auto addRow = [this](const QString& first, const ScriptCounts& c) {
        const int row = m_list->InsertItem(m_list->GetItemCount(), first);
        m_list->SetItemText(row, 1, QString::number(c.dialogs));
        m_list->SetItemText(row, 2, QString::number(c.menus));
        m_list->SetItemText(row, 3, QString::number(c.stringTables));
        return row;
    };
    for (const ScriptCounts& c : statistics.scripts)
        addRow(DisplayText(c.source), c);
    if (!statistics.scripts.empty()) {
        m_list->InsertItem(m_list->GetItemCount(), QString());
        const int total = addRow(
            DisplayText(FormatText("Total in %d file(s)", {std::to_string(statistics.scripts.size())})),
            statistics.total);
        m_list->SetItemForeColor(total, 0, 0xFF0000); // blue
    }
    layout->addWidget(m_list);
}

PieChart::PieChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("1114"));
    setMinimumSize(160, 160);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PieChart::SetTranslatedDegrees(double degrees)
{
    m_degrees = degrees;
    update();
}

void PieChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A circle as large as the area allows, centred.
    const int side = std::min(width(), height()) - 8;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(QPen(Qt::black, 1));
    const struct
    {
        double start;
        double span;
        std::uint32_t colour;
    } sectors[2] = {{0, m_degrees, kTranslatedColour}, {m_degrees, 360 - m_degrees, kUntranslatedColour}};
    for (const auto& sector : sectors) {
        // Sectors too thin to see are left out.
        if (sector.span < 0.1)
            continue;
        painter.setBrush(FromColorRef(sector.colour));
        if (sector.span >= 360)
            painter.drawEllipse(circle);
        else
            painter.drawPie(circle, static_cast<int>(std::lround(sector.start * 16)),
                            static_cast<int>(std::lround(sector.span * 16)));
    }
}

CPageGraphic::CPageGraphic(const TranslationShare& share, QWidget* parent)
    : SheetPage(tr("Graphic"), "171", parent)
{
    auto* layout = new QHBoxLayout(this);
    m_pie = new PieChart(this);
    m_pie->SetTranslatedDegrees(share.translatedDegrees);
    layout->addWidget(m_pie, 1);
    auto* legend = new QGridLayout;
    auto swatch = [this](const char* id, std::uint32_t colour) {
        auto* s = new CColorStatic(this);
        s->setObjectName(QString::fromLatin1(id));
        s->SetBackColor(colour);
        s->setFixedSize(16, 16);
        return s;
    };
    m_total = NewValue(
        this, "1111",
        QString::asprintf("%s : %d (100%%)", MessageString(MsgTexts).toUtf8().constData(), share.total));
    m_translated = NewValue(this, "1112",
                            QString::asprintf("%s : %d (%.2f%%)", tr("Translated texts").toUtf8().constData(),
                                              share.translated, share.translatedPercent));
    m_untranslated =
        NewValue(this, "1113",
                 QString::asprintf("%s : %d (%.2f%%)", tr("Not translated texts").toUtf8().constData(),
                                   share.untranslated, share.untranslatedPercent));
    for (QLabel* label : {m_total, m_translated, m_untranslated}) {
        label->setWordWrap(false);
        label->setMinimumWidth(label->sizeHint().width());
    }
    legend->addWidget(m_total, 0, 1);
    legend->addWidget(swatch("1108", kTranslatedColour), 1, 0);
    legend->addWidget(m_translated, 1, 1);
    legend->addWidget(swatch("1109", kUntranslatedColour), 2, 0);
    legend->addWidget(m_untranslated, 2, 1);
    legend->setRowStretch(3, 1);
    layout->addLayout(legend);
}

CPageFileProperties::CPageFileProperties(const std::string& source, const std::string& destination,
                                         QWidget* parent)
    : SheetPage(tr("File"), "173", parent)
{
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Source :"), this), 0, 0);
    layout->addWidget(NewValue(this, "1067", DisplayText(source)), 0, 1);
    layout->addWidget(new QLabel(tr("Destination :"), this), 1, 0);
    layout->addWidget(NewValue(this, "1068", DisplayText(destination)), 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
}
