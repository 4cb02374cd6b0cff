#include "tessary/YesNoAllBox.h"

#include "tessary/GlobalVarsForDll.h"
#include "tessary/ModalAnswers.h"
#include "tessary/TessaryStrings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

YesNoAllBox::YesNoAllBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("172"));
    setWindowTitle(GlobalVarsForDll::csSoftName);
    auto* layout = new QVBoxLayout(this);
    m_question = new QLabel(this);
    m_question->setObjectName(QStringLiteral("1123"));
    m_question->setWordWrap(true);
    m_question->setMinimumWidth(340);
    layout->addWidget(m_question, 1);
    auto* row = new QHBoxLayout;
    const struct
    {
        int id;
        int label;
        int answer;
    } buttons[] = {{1, TessaryStrings::ButtonBase + 6, Yes},
                   {1121, TessaryStrings::YesAll, YesAll},
                   {2, TessaryStrings::ButtonBase + 7, No},
                   {1122, TessaryStrings::NoAll, NoAll}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(TessaryStrings::Load(b.label), this);
        button->setObjectName(QString::number(b.id));
        const int answer = b.answer;
        connect(button, &QPushButton::clicked, this, [this, answer] { done(answer); });
        if (b.id == 1)
            button->setDefault(true);
        row->addWidget(button);
    }
    layout->addLayout(row);
}

void YesNoAllBox::SetQuestion(const QString& question)
{
    m_question->setText(question);
}

QString YesNoAllBox::Question() const
{
    return m_question->text();
}

void YesNoAllBox::reject()
{
    done(No);
}

int YesNoAllBox::Run()
{
    int answer = Yes;
    if (ModalAnswers::Take(Question(), answer))
        return answer;
    return exec();
}

int YesNoAllBox::Ask(const QString& question, QWidget* parent)
{
    YesNoAllBox box(parent);
    box.SetQuestion(question);
    return box.Run();
}
