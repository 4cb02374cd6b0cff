#include "windows/CDlgFind.h"

#include "dictionary/Messages.h"
#include "tessary/CRkMessageBox.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"
#include "views/CListCtrlBookmark.h"
#include "windows/CDlgDictionaryBase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The history of a settings section into a box, newest first.
void FillHistory(QComboBox* box, Settings::History history)
{
    for (const std::string& entry : AppSettings().Get(history)) {
        if (!entry.empty())
            box->addItem(QString::fromStdString(entry));
    }
}

QComboBox* NewHistoryBox(QWidget* owner, const char* id)
{
    auto* box = new QComboBox(owner);
    box->setObjectName(QString::fromLatin1(id));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxCount(10);
    box->lineEdit()->setMaxLength(1023);
    box->setMinimumWidth(260);
    return box;
}

} // namespace

CDlgFind::CDlgFind(CDlgDictionaryBase* target, const ListSearch& last, const QString& text, QWidget* parent)
    : CDlgFind(target, last, text, parent, false)
{
}

CDlgFind::CDlgFind(CDlgDictionaryBase* target, const ListSearch& last, const QString& text, QWidget* parent,
                   bool replace)
    : CRkCoolDlg(parent), m_replace(replace)
{
    m_search.window = target;
    m_search.firstColumn = replace ? 1 : 0;
    Build(last, text);
}

QPushButton* CDlgFind::NewButton(const QString& text, const char* id)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(id));
    button->setAutoDefault(false);
    return button;
}

void CDlgFind::Build(const ListSearch& last, const QString& text)
{
    setObjectName(m_replace ? QStringLiteral("25109") : QStringLiteral("24511"));
    setWindowTitle(m_replace ? tr("Replace") : tr("Find"));
    auto* layout = new QVBoxLayout(this);
    if (m_replace) {
        auto* help =
            new QLabel(tr("Search for a text and replace it with an other.\nTexts cannot be replaced in "
                          "the first column of the list."),
                       this);
        layout->addWidget(help);
    }
    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    m_grid = new QGridLayout;
    m_findWhat = NewHistoryBox(this, "24612");
    FillHistory(m_findWhat, Settings::History::Find);
    m_findWhat->setCurrentIndex(-1);
    m_findWhat->setEditText(text);
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(m_findWhat);
    m_grid->addWidget(findLabel, 0, 0);
    m_grid->addWidget(m_findWhat, 0, 1);
    left->addLayout(m_grid);

    auto* groups = new QHBoxLayout;
    auto* columns = new QGroupBox(tr("Columns"), this);
    auto* columnsLayout = new QGridLayout(columns);
    m_allColumns = new QRadioButton(m_replace ? tr("&All ( except the first one )") : tr("&All"), columns);
    m_allColumns->setObjectName(QStringLiteral("24620"));
    m_oneColumn = new QRadioButton(tr("C&olumn:"), columns);
    m_oneColumn->setObjectName(QStringLiteral("24625"));
    m_columnBox = new QComboBox(columns);
    m_columnBox->setObjectName(QStringLiteral("24623"));
    columnsLayout->addWidget(m_allColumns, 0, 0, 1, 2);
    columnsLayout->addWidget(m_oneColumn, 1, 0);
    columnsLayout->addWidget(m_columnBox, 1, 1);
    groups->addWidget(columns, 1);

    auto* criteria = new QGroupBox(tr("Criteria"), this);
    auto* criteriaLayout = new QVBoxLayout(criteria);
    m_matchCase = new QCheckBox(tr("Match &case"), criteria);
    m_matchCase->setObjectName(QStringLiteral("24629"));
    criteriaLayout->addWidget(m_matchCase);
    criteriaLayout->addStretch();
    groups->addWidget(criteria);

    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QVBoxLayout(direction);
    m_up = new QRadioButton(tr("&Up"), direction);
    m_up->setObjectName(QStringLiteral("24615"));
    m_down = new QRadioButton(tr("&Down"), direction);
    m_down->setObjectName(QStringLiteral("24614"));
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    groups->addWidget(direction);
    left->addLayout(groups);
    body->addLayout(left, 1);

    m_buttons = new QVBoxLayout;
    m_find = NewButton(m_replace ? tr("&Find next") : tr("&Find"), "1071");
    m_find->setDefault(true);
    m_cancel = NewButton(tr("Cancel"), "2");
    m_buttons->addWidget(m_find);
    m_buttons->addWidget(m_cancel);
    m_buttons->addStretch();
    body->addLayout(m_buttons);
    layout->addLayout(body);

    // Every column of the list from the first one searched on, each with
    // its index.
    if (CDlgDictionaryBase* window = m_search.window) {
        CListCtrlEx* list = window->List();
        for (int column = m_search.firstColumn; column < std::min(list->GetColumnCount(), 256); ++column)
            m_columnBox->addItem(list->GetColumnHeading(column), column);
    }
    const int chosen = last.allColumns ? -1 : m_columnBox->findData(last.chosenColumn);
    if (chosen >= 0) {
        m_oneColumn->setChecked(true);
        m_columnBox->setCurrentIndex(chosen);
    } else {
        m_allColumns->setChecked(true);
        m_columnBox->setCurrentIndex(m_columnBox->count() > 0 ? 0 : -1);
    }
    m_columnBox->setEnabled(m_columnBox->count() > 0);
    m_oneColumn->setEnabled(m_columnBox->count() > 0);
    (last.down ? m_down : m_up)->setChecked(true);
    m_matchCase->setChecked(last.matchCase);
    connect(m_columnBox, &QComboBox::activated, this, [this] { m_oneColumn->setChecked(true); });
    connect(m_find, &QPushButton::clicked, this, &CDlgFind::OnFind);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_findWhat->setFocus();
    m_findWhat->lineEdit()->selectAll();
    adjustSize();
    if (parentWidget())
        move(parentWidget()->window()->geometry().center() - rect().center());
}

bool CDlgFind::ReadControls()
{
    const QString text = m_findWhat->currentText();
    AddToHistory(m_findWhat, text);
    if (!m_replace)
        emit textSearched(text);
    m_search.text = text;
    m_search.matchCase = m_matchCase->isChecked();
    m_search.allColumns = !m_oneColumn->isChecked();
    m_search.chosenColumn = m_columnBox->currentData().isValid() ? m_columnBox->currentData().toInt() : -1;
    m_search.down = m_down->isChecked();
    m_search.SetColumns();
    if (m_search.position >= static_cast<int>(m_search.columns.size()))
        m_search.position = 0;
    return !text.isEmpty();
}

bool CDlgFind::RunFirstSearch()
{
    if (!ReadControls())
        return false;
    m_search.firstSearch = false;
    m_search.Restart();
    m_search.Next(this);
    emit searched(m_search);
    return m_search.found;
}

void CDlgFind::OnFind()
{
    if (m_search.firstSearch) {
        RunFirstSearch();
    } else {
        if (!ReadControls())
            return;
        m_search.Next(this);
        emit searched(m_search);
    }
    // Find has done its work once it found the text.
    if (!m_replace && m_search.found)
        accept();
}

CDlgReplace::CDlgReplace(CDlgDictionaryBase* target, const ListSearch& last, const QString& text,
                         QWidget* parent)
    : CDlgFind(target, last, text, parent, true)
{
    m_replaceWith = NewHistoryBox(this, "24613");
    FillHistory(m_replaceWith, Settings::History::Replace);
    m_replaceWith->setCurrentIndex(-1);
    auto* label = new QLabel(tr("Re&place with:"), this);
    label->setBuddy(m_replaceWith);
    Grid()->addWidget(label, 1, 0);
    Grid()->addWidget(m_replaceWith, 1, 1);
    m_replaceButton = NewButton(tr("&Replace"), "1074");
    m_replaceAllButton = NewButton(tr("Replace A&ll"), "1075");
    ButtonColumn()->insertWidget(1, m_replaceButton);
    ButtonColumn()->insertWidget(2, m_replaceAllButton);
    setTabOrder(FindWhatBox(), m_replaceWith);
    connect(m_replaceButton, &QPushButton::clicked, this, &CDlgReplace::OnReplace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &CDlgReplace::OnReplaceAll);
    adjustSize();
}

QString CDlgReplace::ReadReplacement()
{
    if (FindWhatBox()->currentText().isEmpty())
        return {};
    const QString replacement = m_replaceWith->currentText();
    AddToHistory(m_replaceWith, replacement);
    return replacement;
}

void CDlgReplace::OnReplace()
{
    const QString replacement = ReadReplacement();
    if (replacement.isEmpty())
        return;
    if (m_search.firstSearch)
        RunFirstSearch();
    else
        ReadControls();
    if (m_search.found)
        m_search.ReplaceInCell(m_search.foundRow, m_search.foundColumn, replacement);
    CancelButton()->setText(tr("Close"));
}

void CDlgReplace::OnReplaceAll()
{
    const QString replacement = ReadReplacement();
    if (replacement.isEmpty() || !ReadControls())
        return;
    m_search.firstSearch = false;
    int cells = 0;
    const int occurrences = m_search.ReplaceAll(replacement, &cells);
    if (occurrences == 0) {
        RkMessageBox(MessageString(MsgTextNotFound), 0x0030, -1, this, nullptr, -1);
    } else {
        // Said, so that nothing is changed without the user knowing how much.
        m_lastReport = tr("%1 occurrence(s) replaced in %2 text(s).").arg(occurrences).arg(cells);
        RkMessageBox(m_lastReport, 0x0040, -1, this, nullptr, -1);
    }
    emit searched(m_search);
    CancelButton()->setText(tr("Close"));
}

void CDlgReplace::done(int result)
{
    // The replacements come back the next time, under their positions.
    AppSettings().Set(Settings::History::Replace, HistoryEntries(m_replaceWith));
    CDlgFind::done(result);
}
