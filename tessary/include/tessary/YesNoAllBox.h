#pragma once

#include "tessary/TessaryExport.h"

#include <QDialog>

class QLabel;

/// The question asked once per file: Yes, Yes All, No and No All, which
/// answer 0, 1, 2 and 3 (Escape answers No).
class TESSARY_EXPORT YesNoAllBox : public QDialog
{
    Q_OBJECT
public:
    enum Answer
    {
        Yes = 0,
        YesAll = 1,
        No = 2,
        NoAll = 3
    };

    explicit YesNoAllBox(QWidget* parent = nullptr);

    void SetQuestion(const QString& question);
    QString Question() const;
    /// Runs the box modally and returns the answer.
    int Run();

    static int Ask(const QString& question, QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    QLabel* m_question;
};
