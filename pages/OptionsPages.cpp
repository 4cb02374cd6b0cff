#include "pages/OptionsPages.h"

#include "dictionary/CTrelvarDoc.h"
#include "dictionary/Codec.h"
#include "dictionary/Messages.h"
#include "exchange/Spelling.h"
#include "preview/PreviewFonts.h"
#include "settings/FontDescription.h"
#include "tessary/CColorStatic.h"
#include "tessary/CListCtrlEx.h"
#include "tessary/CoolDisplay.h"
#include "tessary/CoreFeedback.h"
#include "tessary/ProgramSettings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct FlagBox
{
    const char* id;
    const char* text;
    Settings::Flag flag;
};

constexpr FlagBox kFlags[] = {
    {"1048", "&Reload last dictionary at startup", Settings::Flag::Reload},
    {"1081", "Always &center 'Texts of this resource' window", Settings::Flag::Center},
    {"1117", "&Update automatically icons in the tree ( green background )", Settings::Flag::UpdateTree},
    {"1056", "Show rect&angles around texts that are not translated or too long",
     Settings::Flag::ShowRectangle},
    {"1120", "As&k to extract resources when files have changed", Settings::Flag::AskExtract},
    {"1080", "Show &textured dialog background", Settings::Flag::ShowTexture},
};

struct Texture
{
    const char* name;
    const char* shown;
};

constexpr Texture kTextures[CPageGeneral::kTextureCount] = {
    {"BACKGROUND", "Marble"},
    {"BACKGROUND_LIGHT", "Light marble"},
    {"BACKGROUND_ORANGE", "Orange marble"},
    {"BACKGROUND_BLUE", "Blue marble"},
    {"BACKGROUND_GREEN", "Green marble"},
    {"SKY", "Sky"},
};

struct ColourRow
{
    const char* swatch;
    const char* button;
    const char* text;
    Settings::Colour key;
};

constexpr ColourRow kColours[CPageColor::kColourCount] = {
    {"1052", "1049", "Rectangle around texts not translated", Settings::Colour::Rectangle},
    {"1053", "1087", "Odd lines of the dictionary lists", Settings::Colour::OddLine},
    {"1054", "1088", "Even lines of the dictionary lists", Settings::Colour::EvenLine},
    {"1055", "1091", "Find in resources: dialog boxes", Settings::Colour::Dialog},
    {"1056", "1089", "Find in resources: menus", Settings::Colour::Menu},
    {"1057", "1090", "Find in resources: string tables", Settings::Colour::Stringtable},
};

// The description of a font chosen in the font dialog: its point size in
// tenths, and the character set the description had (the dialog knows of
// none): the code page of the dictionary's texts is chosen on its own.
std::string DescriptionOfChoice(const QFont& font, const std::string& before)
{
    FontDescription d;
    if (const auto previous = FontDescription::Parse(before))
        d.charset = previous->charset;
    d.face = font.family().toStdString();
    d.size =
        font.pointSizeF() > 0 ? static_cast<int>(font.pointSizeF() * 10 + 0.5) : font.pixelSize() * 15 / 2;
    d.bold = font.weight() >= QFont::Bold;
    d.italic = font.italic();
    return d.Format();
}

// A code page with the scripts it writes, as a user chooses it.
QString CodePageTitle(int page)
{
    static const struct
    {
        int page;
        const char* scripts;
    } kTitles[] = {{1252, "Western European"},
                   {1250, "Central European"},
                   {1251, "Cyrillic"},
                   {1253, "Greek"},
                   {1254, "Turkish"},
                   {1255, "Hebrew"},
                   {1256, "Arabic"},
                   {1257, "Baltic"},
                   {1258, "Vietnamese"},
                   {874, "Thai"},
                   {932, "Japanese"},
                   {936, "Simplified Chinese"},
                   {949, "Korean"},
                   {950, "Traditional Chinese"}};
    for (const auto& t : kTitles) {
        if (t.page == page)
            return QStringLiteral("%1 (%2)").arg(page).arg(
                QCoreApplication::translate("CPageDictionary", t.scripts));
    }
    return QString::number(page);
}

} // namespace

const char* CPageGeneral::TextureName(int index)
{
    return kTextures[index].name;
}

CPageGeneral::CPageGeneral(QWidget* parent) : SheetPage(tr("General"), "159", parent)
{
    const Settings settings = AppSettings();
    auto* layout = new QVBoxLayout(this);
    for (const FlagBox& f : kFlags) {
        auto* box = new QCheckBox(tr(f.text), this);
        box->setObjectName(QString::fromLatin1(f.id));
        box->setChecked(settings.Get(f.flag));
        layout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this] { SetModified(); });
        if (f.flag == Settings::Flag::ShowTexture)
            m_showTexture = box;
    }
    auto* textureRow = new QHBoxLayout;
    m_textures = new QComboBox(this);
    m_textures->setObjectName(QStringLiteral("1105"));
    const std::string stored = settings.Get(Settings::Text::MainViewTexture);
    for (int i = 0; i < kTextureCount; ++i) {
        m_textures->addItem(tr(kTextures[i].shown), i);
        if (stored == kTextures[i].name)
            m_textures->setCurrentIndex(i);
    }
    auto* label = new QLabel(tr("Main view te&xture:"), this);
    label->setBuddy(m_textures);
    m_preview = new CListCtrlEx(this);
    m_preview->setObjectName(QStringLiteral("1104"));
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_preview->setHeaderHidden(true);
    m_preview->setFixedHeight(64);
    textureRow->addWidget(label);
    textureRow->addWidget(m_textures);
    textureRow->addWidget(m_preview, 1);
    layout->addSpacing(6);
    layout->addLayout(textureRow);
    layout->addStretch();
    connect(m_showTexture, &QCheckBox::toggled, this, &CPageGeneral::ShowTexture);
    connect(m_textures, &QComboBox::currentIndexChanged, this, [this] {
        ShowTexture();
        SetModified();
    });
    ShowTexture();
}

QCheckBox* CPageGeneral::CheckBox(const char* id) const
{
    return findChild<QCheckBox*>(QString::fromLatin1(id));
}

void CPageGeneral::ShowTexture()
{
    const bool on = m_showTexture->isChecked();
    m_textures->setEnabled(on);
    const int index = m_textures->currentData().toInt();
    m_preview->SetBackGroundImage(on ? QString::fromLatin1(kTextures[index].name) : QString());
}

void CPageGeneral::OnApply()
{
    const Settings settings = AppSettings();
    for (const FlagBox& f : kFlags)
        settings.Set(f.flag, CheckBox(f.id)->isChecked());
    int textures = m_showTexture->isChecked() ? 1 : 0;
    SetGetCoolDisplay(false, textures, SlotTextures);
    settings.Set(Settings::Text::MainViewTexture, kTextures[m_textures->currentData().toInt()].name);
}

FontSample::FontSample(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(180, 48);
}

void FontSample::SetSampleFont(const QFont& font)
{
    setFont(font);
    update();
}

void FontSample::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, tr("sample"));
}

CPageDictionary::CPageDictionary(CTrelvarDoc* document, const QFont& currentOriginal,
                                 const QFont& currentTranslation, QWidget* parent)
    : SheetPage(tr("Dictionary"), "158", parent), m_document(document)
{
    const bool open = m_document && m_document->IsOpen();
    const Settings settings = AppSettings();
    const std::string path = open ? m_document->PathName() : std::string();
    // The descriptions the settings hold stay as they are unless the user
    // changes them: going through the font's pixel height would shrink them
    // a little at every OK.
    const Settings::DictionaryKey keys[2] = {Settings::DictionaryKey::OriginalFont,
                                             Settings::DictionaryKey::TranslationFont};
    const QFont* current[2] = {&currentOriginal, &currentTranslation};
    for (int i = 0; i < 2; ++i) {
        const std::string stored = open ? settings.Get(path, keys[i]) : std::string();
        m_descriptions[static_cast<std::size_t>(i)] =
            FontDescription::Parse(stored) ? stored : DescriptionOfFont(*current[i]);
    }
    auto* layout = new QGridLayout(this);
    const char* sampleIds[2] = {"1069", "1068"};
    const char* buttonIds[2] = {"1070", "1071"};
    const QString labels[2] = {tr("Font of the &original texts"), tr("Font of the t&ranslations")};
    for (int i = 0; i < 2; ++i) {
        auto* sample = new FontSample(this);
        sample->setObjectName(QString::fromLatin1(sampleIds[i]));
        sample->SetSampleFont(FontFromDescription(m_descriptions[static_cast<std::size_t>(i)]));
        m_samples[static_cast<std::size_t>(i)] = sample;
        auto* button = NewButton(this, labels[i] + QStringLiteral("..."), buttonIds[i]);
        button->setEnabled(open);
        connect(button, &QPushButton::clicked, this, [this, i] { OnChange(i); });
        layout->addWidget(button, i, 0);
        layout->addWidget(sample, i, 1);
    }
    // The code pages of an 8-bit dictionary's texts, shown and chosen here
    // only: a font never changes them.
    const QString pageLabels[2] = {tr("&Code page of the originals:"), tr("Code page of the tra&nslations:")};
    const char* pageIds[2] = {"codePageOriginalsCombo", "codePageTranslationsCombo"};
    const bool unicode = open && m_document->IsUnicode();
    const int inUse[2] = {open ? m_document->EightBitOriginalsCodePage() : 1252,
                          open ? m_document->EightBitTranslationsCodePage() : 1252};
    for (int i = 0; i < 2; ++i) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(pageIds[i]));
        if (unicode) {
            combo->addItem(MessageString(MsgUnicodeDictionary), kUtf8CodePage);
        } else {
            for (const int page : EightBitCodePages())
                combo->addItem(CodePageTitle(page), page);
            combo->setCurrentIndex(std::max(0, combo->findData(inUse[i])));
        }
        combo->setEnabled(open && !unicode);
        auto* label = new QLabel(pageLabels[i], this);
        label->setBuddy(combo);
        layout->addWidget(label, 2 + i, 0);
        layout->addWidget(combo, 2 + i, 1);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
        m_codePages[static_cast<std::size_t>(i)] = combo;
    }
    // The language the translations are spelt in, set once for the
    // dictionary: the languages Hunspell has dictionaries for here.
    m_language = new QComboBox(this);
    m_language->setObjectName(QStringLiteral("spellingLanguageCombo"));
    m_language->addItem(tr("(no spelling)"), QString());
    for (const std::string& language : HunspellLanguages())
        m_language->addItem(QString::fromStdString(language), QString::fromStdString(language));
    const std::string language = open ? settings.Get(path, Settings::DictionaryKey::Language) : std::string();
    if (!language.empty() && m_language->findData(QString::fromStdString(language)) < 0)
        m_language->addItem(QString::fromStdString(language) + tr(" (not installed)"),
                            QString::fromStdString(language));
    m_language->setCurrentIndex(std::max(0, m_language->findData(QString::fromStdString(language))));
    m_language->setEnabled(open);
    auto* languageLabel = new QLabel(tr("Spelling lan&guage of the translations:"), this);
    languageLabel->setBuddy(m_language);
    layout->addWidget(languageLabel, 4, 0);
    layout->addWidget(m_language, 4, 1);
    connect(m_language, &QComboBox::currentIndexChanged, this, [this] { SetModified(); });
    auto* group = new QGroupBox(tr("Set fonts for entry fields and :"), this);
    auto* groupLayout = new QHBoxLayout(group);
    m_lists = new QCheckBox(tr("&Lists"), group);
    m_lists->setObjectName(QStringLiteral("1100"));
    m_previews = new QCheckBox(tr("&Previews"), group);
    m_previews->setObjectName(QStringLiteral("1101"));
    m_lists->setChecked(open && settings.Get(path, Settings::DictionaryKey::SetFontLists) == "1");
    m_previews->setChecked(open && settings.Get(path, Settings::DictionaryKey::SetFontPreviews) == "1");
    m_lists->setEnabled(open);
    m_previews->setEnabled(open);
    groupLayout->addWidget(m_lists);
    groupLayout->addWidget(m_previews);
    groupLayout->addStretch();
    layout->addWidget(group, 5, 0, 1, 2);
    layout->setRowStretch(6, 1);
    layout->setColumnStretch(1, 1);
    connect(m_lists, &QCheckBox::toggled, this, [this] { SetModified(); });
    connect(m_previews, &QCheckBox::toggled, this, [this] { SetModified(); });
}

void CPageDictionary::OnChange(int which)
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, FontFromDescription(m_descriptions[static_cast<std::size_t>(which)]), this);
    if (ok)
        ChooseFont(which, chosen);
}

void CPageDictionary::ChooseFont(int which, const QFont& chosen)
{
    auto& description = m_descriptions[static_cast<std::size_t>(which)];
    description = DescriptionOfChoice(chosen, description);
    m_samples[static_cast<std::size_t>(which)]->SetSampleFont(FontFromDescription(description));
    SetModified();
}

void CPageDictionary::OnApply()
{
    if (!m_document || !m_document->IsOpen())
        return;
    const Settings settings = AppSettings();
    const std::string& path = m_document->PathName();
    settings.Set(path, Settings::DictionaryKey::Language, m_language->currentData().toString().toStdString());
    // A code page chosen is the dictionary's from now on (its next save
    // records it); the fonts' character sets follow it.
    if (!m_document->IsUnicode()) {
        const int originals = m_codePages[0]->currentData().toInt();
        const int translations = m_codePages[1]->currentData().toInt();
        if (originals != m_document->EightBitOriginalsCodePage() ||
            translations != m_document->EightBitTranslationsCodePage()) {
            m_document->SetEncodings(originals, translations, true);
            m_document->MarkChanged(CTrelvarDoc::GeneralChanged | CTrelvarDoc::ContextChanged);
        }
        const int pages[2] = {originals, translations};
        for (int i = 0; i < 2; ++i) {
            auto& description = m_descriptions[static_cast<std::size_t>(i)];
            if (auto parsed = FontDescription::Parse(description)) {
                parsed->charset = CharsetOfCodePage(pages[i]);
                description = parsed->Format();
            }
        }
    }
    settings.Set(path, Settings::DictionaryKey::OriginalFont, m_descriptions[0]);
    settings.Set(path, Settings::DictionaryKey::TranslationFont, m_descriptions[1]);
    settings.Set(path, Settings::DictionaryKey::SetFontLists, m_lists->isChecked() ? "1" : "0");
    settings.Set(path, Settings::DictionaryKey::SetFontPreviews, m_previews->isChecked() ? "1" : "0");
}

CPageColor::CPageColor(QWidget* parent) : SheetPage(tr("Color"), "25112", parent)
{
    const Settings settings = AppSettings();
    auto* layout = new QGridLayout(this);
    for (int i = 0; i < kColourCount; ++i) {
        const ColourRow& row = kColours[i];
        const auto index = static_cast<std::size_t>(i);
        m_colours[index] = settings.Get(row.key);
        auto* swatch = new CColorStatic(this);
        swatch->setObjectName(QString::fromLatin1(row.swatch));
        swatch->SetBackColor(m_colours[index]);
        swatch->setFixedSize(48, 20);
        m_swatches[index] = swatch;
        auto* button = NewButton(this, QStringLiteral("..."), row.button);
        button->setFixedWidth(32);
        button->setToolTip(tr(row.text));
        connect(button, &QPushButton::clicked, this, [this, i] {
            const QColor chosen = QColorDialog::getColor(FromColorRef(Colour(i)), this, tr(kColours[i].text));
            if (chosen.isValid())
                ChooseColour(i, ToColorRef(chosen));
        });
        layout->addWidget(new QLabel(tr(row.text), this), i, 0);
        layout->addWidget(swatch, i, 1);
        layout->addWidget(button, i, 2);
    }
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(kColourCount, 1);
}

void CPageColor::ChooseColour(int index, std::uint32_t colour)
{
    m_colours[static_cast<std::size_t>(index)] = colour;
    m_swatches[static_cast<std::size_t>(index)]->SetBackColor(colour);
    SetModified();
}

void CPageColor::OnApply()
{
    const Settings settings = AppSettings();
    for (int i = 0; i < kColourCount; ++i)
        settings.Set(kColours[i].key, m_colours[static_cast<std::size_t>(i)]);
}
