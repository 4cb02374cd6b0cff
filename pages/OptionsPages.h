#pragma once

#include "pages/PropertySheet.h"

#include <QFont>

#include <array>
#include <cstdint>
#include <string>

class CColorStatic;
class CListCtrlEx;
class CTrelvarDoc;
class QCheckBox;
class QComboBox;

/// The general options: reloading, centring, tree icons, preview rectangles,
/// the question about changed scripts, textures and the main view's
/// texture.
class CPageGeneral : public SheetPage
{
    Q_OBJECT
public:
    /// The textures offered, as their bitmap names and as shown.
    static constexpr int kTextureCount = 6;
    static const char* TextureName(int index);

    explicit CPageGeneral(QWidget* parent = nullptr);
    void OnApply() override;

    QCheckBox* CheckBox(const char* id) const;
    QComboBox* TextureBox() const { return m_textures; }
    CListCtrlEx* TexturePreview() const { return m_preview; }

private:
    void ShowTexture();

    QComboBox* m_textures;
    CListCtrlEx* m_preview;
    QCheckBox* m_showTexture = nullptr;
};

/// A sample of a font: the word "sample" centred in it.
class FontSample : public QWidget
{
    Q_OBJECT
public:
    explicit FontSample(QWidget* parent = nullptr);
    void SetSampleFont(const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;
};

/// The fonts of the open dictionary's original texts and translations,
/// and whether the lists and previews use them too.
class CPageDictionary : public SheetPage
{
    Q_OBJECT
public:
    /// current: the fonts the windows show now, for a dictionary whose
    /// settings name none.
    CPageDictionary(CTrelvarDoc* document, const QFont& currentOriginal, const QFont& currentTranslation,
                    QWidget* parent = nullptr);
    void OnApply() override;

    /// The descriptions as the settings file stores them.
    const std::string& OriginalDescription() const { return m_descriptions[0]; }
    const std::string& TranslationDescription() const { return m_descriptions[1]; }
    /// The font dialog's choice for one of the two (0 original).
    void ChooseFont(int which, const QFont& chosen);
    QCheckBox* ListsBox() const { return m_lists; }
    /// The code page of the originals (0) or the translations (1).
    QComboBox* CodePageBox(int which) const { return m_codePages[static_cast<std::size_t>(which)]; }
    QCheckBox* PreviewsBox() const { return m_previews; }
    /// The language the translations are spelt in (none first).
    QComboBox* LanguageBox() const { return m_language; }

private:
    void OnChange(int which);

    CTrelvarDoc* m_document;
    std::array<std::string, 2> m_descriptions;
    std::array<FontSample*, 2> m_samples{};
    std::array<QComboBox*, 2> m_codePages{};
    QCheckBox* m_lists;
    QCheckBox* m_previews;
    QComboBox* m_language;
};

/// The colours: the rectangle around untranslated texts, the lines of the
/// dictionary lists and the rows of the find-in-resources results.
class CPageColor : public SheetPage
{
    Q_OBJECT
public:
    static constexpr int kColourCount = 6;

    explicit CPageColor(QWidget* parent = nullptr);
    void OnApply() override;

    std::uint32_t Colour(int index) const { return m_colours[static_cast<std::size_t>(index)]; }
    /// The colour dialog's choice for one of the six.
    void ChooseColour(int index, std::uint32_t colour);
    CColorStatic* Swatch(int index) const { return m_swatches[static_cast<std::size_t>(index)]; }

private:
    std::array<std::uint32_t, kColourCount> m_colours{};
    std::array<CColorStatic*, kColourCount> m_swatches{};
};
