#pragma once

#include "tessary/CRkCoolDlg.h"
#include "tessary/TessaryExport.h"

class QCheckBox;
class QLabel;
class QPushButton;

/// The library's message box: a message with an icon, one to three buttons
/// labelled from the library's strings, a caption from a message category,
/// and a check box that stops a whole category from showing again.
///
/// Types are the platform's message-box bits: the button set in bits 0–3
/// (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No,
/// 5 Retry/Cancel), the icon in bits 4–7 and the default button in bits 8–9.
class TESSARY_EXPORT CRkMessageBox : public CRkCoolDlg
{
    Q_OBJECT
public:
    enum Answer
    {
        IdOk = 1,
        IdCancel = 2,
        IdAbort = 3,
        IdRetry = 4,
        IdIgnore = 5,
        IdYes = 6,
        IdNo = 7
    };

    explicit CRkMessageBox(QWidget* parent = nullptr);

    void SetText(const QString& text);
    void SetCaption(const QString& caption);
    /// Sets the buttons, icon and category. Returns 0, or the automatic
    /// answer when the category is suppressed (the box is then not shown).
    int SetType(unsigned type, short category);
    int GetReturnValue() const { return m_result; }
    /// Runs the box (or answers it at once for a suppressed category).
    int Run();

    /// The button identifiers of each set (0 = no button there).
    static int m_idBtn1[6];
    static int m_idBtn2[6];
    static int m_idBtn3[6];
    static void InitButtonIds();

    /// The answer for a type when its category is suppressed.
    static int AutomaticAnswer(unsigned type);
    /// Suppressed categories, one bit each (bit c − 1 for category c).
    static int SuppressedMask();
    static void SetSuppressedMask(int mask);

protected:
    void reject() override;

private:
    void Finish(int id);

    QLabel* m_icon;
    QLabel* m_text;
    QCheckBox* m_dontShow;
    QPushButton* m_buttons[3];
    unsigned m_type = 0;
    short m_category = -1;
    QString m_caption;
    int m_result = 0;
};

/// Shows a message box and returns the identifier of the button chosen.
TESSARY_EXPORT int RkMessageBox(const QString& text, unsigned type, int value, QWidget* parent,
                                const QString* caption, short category);
TESSARY_EXPORT int RkMessageBox(int textId, unsigned type, int value, QWidget* parent, const QString* caption,
                                short category);
