#include "tessary/CRkMessageBox.h"

#include "settings/Settings.h"
#include "tessary/CoolDisplay.h"
#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"
#include "tessary/TessaryStrings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int CRkMessageBox::m_idBtn1[6];
int CRkMessageBox::m_idBtn2[6];
int CRkMessageBox::m_idBtn3[6];

void CRkMessageBox::InitButtonIds()
{
    static const int table[6][3] = {
        {IdOk, 0, 0},     {IdOk, IdCancel, 0},    {IdAbort, IdRetry, IdIgnore}, {IdYes, IdNo, IdCancel},
        {IdYes, IdNo, 0}, {IdRetry, IdCancel, 0},
    };
    for (int set = 0; set < 6; ++set) {
        m_idBtn1[set] = table[set][0];
        m_idBtn2[set] = table[set][1];
        m_idBtn3[set] = table[set][2];
    }
}

int CRkMessageBox::AutomaticAnswer(unsigned type)
{
    InitButtonIds();
    const unsigned set = type & 0x0F;
    if (set > 5)
        return IdCancel;
    switch ((type >> 8) & 0x03) {
    case 0:
        return m_idBtn1[set];
    case 1:
        return m_idBtn2[set] ? m_idBtn2[set] : IdCancel;
    case 2:
        return m_idBtn3[set] ? m_idBtn3[set] : IdCancel;
    default:
        return IdCancel;
    }
}

int CRkMessageBox::SuppressedMask()
{
    int mask = 0;
    SetGetCoolDisplay(true, mask, SlotSuppressed);
    return mask;
}

void CRkMessageBox::SetSuppressedMask(int mask)
{
    SetGetCoolDisplay(false, mask, SlotSuppressed);
}

CRkMessageBox::CRkMessageBox(QWidget* parent) : CRkCoolDlg(parent)
{
    InitButtonIds();
    setObjectName(QStringLiteral("22509"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 15, 15, 12);
    auto* top = new QHBoxLayout;
    m_icon = new QLabel(this);
    m_icon->setAlignment(Qt::AlignTop);
    top->addWidget(m_icon);
    top->addSpacing(14);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("42019"));
    m_text->setWordWrap(true);
    m_text->setMinimumWidth(260);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    top->addWidget(m_text, 1);
    layout->addLayout(top);
    layout->addSpacing(10);
    m_dontShow = new QCheckBox(TessaryStrings::Load(TessaryStrings::DontShowAgain), this);
    m_dontShow->setObjectName(QStringLiteral("dontShowCheckBox"));
    layout->addWidget(m_dontShow);
    auto* row = new QHBoxLayout;
    row->addStretch();
    const int ids[3] = {1, 2, 9};
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QPushButton(this);
        m_buttons[i]->setObjectName(QString::number(ids[i]));
        m_buttons[i]->setMinimumWidth(88);
        row->addWidget(m_buttons[i]);
        connect(m_buttons[i], &QPushButton::clicked, this, [this, i] {
            const unsigned set = m_type & 0x0F;
            const int id = i == 0 ? m_idBtn1[set] : i == 1 ? m_idBtn2[set] : m_idBtn3[set];
            Finish(id);
        });
    }
    layout->addLayout(row);
    setWindowTitle(GlobalVarsForDll::csSoftName);
    SetType(0, -1);
}

void CRkMessageBox::SetText(const QString& text)
{
    m_text->setText(text);
}

void CRkMessageBox::SetCaption(const QString& caption)
{
    m_caption = caption;
}

int CRkMessageBox::SetType(unsigned type, short category)
{
    m_type = type;
    m_category = category;
    if (category > 0 && category <= 16 && (SuppressedMask() & (1 << (category - 1))))
        return m_result = AutomaticAnswer(type);
    unsigned set = type & 0x0F;
    if (set > 5)
        set = m_type = 0;
    // Only the buttons of the set are shown.
    const int ids[3] = {m_idBtn1[set], m_idBtn2[set], m_idBtn3[set]};
    for (int i = 0; i < 3; ++i) {
        m_buttons[i]->setVisible(ids[i] != 0);
        m_buttons[i]->setEnabled(ids[i] != 0);
        if (ids[i])
            m_buttons[i]->setText(TessaryStrings::Load(TessaryStrings::ButtonBase + ids[i]));
    }
    const unsigned icon = type & 0xF0;
    const bool exclamation = icon == 0x10 || icon == 0x30;
    m_icon->setPixmap(
        LoadCoolBitmap(exclamation ? QStringLiteral("_EXCLAMATION") : QStringLiteral("_QUESTION")));
    // The check box only where there is a kind of message to stop showing.
    m_dontShow->setVisible(category > 0);
    m_dontShow->setEnabled(category > 0);
    const int defaultButton = ((type >> 8) & 0x03) == 1 ? 1 : 0;
    m_buttons[defaultButton]->setDefault(true);
    m_buttons[defaultButton]->setFocus();
    return 0;
}

void CRkMessageBox::Finish(int id)
{
    m_result = id;
    if (m_dontShow->isChecked() && m_category > 0 && m_category <= 16) {
        const int mask = SuppressedMask() | (1 << (m_category - 1));
        SetSuppressedMask(mask);
        if (!GlobalVarsForDll::csIni.isEmpty())
            Settings(GlobalVarsForDll::csIni.toStdString()).SetSuppressedCategories(mask);
    }
    done(id);
}

int CRkMessageBox::Run()
{
    if (m_category > 0 && m_category <= 16 && (SuppressedMask() & (1 << (m_category - 1))))
        return m_result = AutomaticAnswer(m_type);
    QString caption = m_caption;
    if (caption.isEmpty() && m_category > 0)
        caption = TessaryStrings::Load(TessaryStrings::CategoryBase + m_category)
                      .replace(QLatin1String("%s"), GlobalVarsForDll::csSoftName);
    if (caption.isEmpty())
        caption = GlobalVarsForDll::csSoftName;
    setWindowTitle(caption);
    int answer = AutomaticAnswer(m_type & 0x3FF);
    if (ModalAnswers::Take(m_text->text(), answer))
        return m_result = answer;
    adjustSize();
    exec();
    return m_result;
}

void CRkMessageBox::reject()
{
    // Escape cancels where the box has a Cancel button (in Yes, No, Cancel
    // it must not answer No and drop what the question was about), else it
    // takes the second button's way; a box with one button closes with it.
    const unsigned set = m_type & 0x0F;
    for (const int* ids : {m_idBtn1, m_idBtn2, m_idBtn3}) {
        if (ids[set] == IdCancel) {
            Finish(IdCancel);
            return;
        }
    }
    Finish(m_idBtn2[set] ? m_idBtn2[set] : m_idBtn1[set]);
}

int RkMessageBox(const QString& text, unsigned type, int value, QWidget* parent, const QString* caption,
                 short category)
{
    Q_UNUSED(value);
    CRkMessageBox box(parent);
    box.SetText(text);
    if (caption)
        box.SetCaption(*caption);
    box.SetType(type, category);
    return box.Run();
}

int RkMessageBox(int textId, unsigned type, int value, QWidget* parent, const QString* caption,
                 short category)
{
    return RkMessageBox(TessaryStrings::Load(textId), type, value, parent, caption, category);
}
