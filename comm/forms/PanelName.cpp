#include "comm/forms/PanelName.h"

#include "comm/Panels.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace zor {

TPanelName::TPanelName(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PanelName"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *label = new QLabel(tr("&Name:"), this);
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setAccessibleName(tr("Panel name"));
    NameEdit->setToolTip(tr("The panel's name, as Send to panels and zor show it"));
    label->setBuddy(NameEdit);
    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setWordWrap(true);
    QPalette warning = ProblemLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    ProblemLabel->setPalette(warning);
    Button1 = new QPushButton(tr("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(tr("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(NameEdit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ProblemLabel);
    layout->addStretch();
    layout->addLayout(buttons);
    // Room for the longest problem in two lines, in any language; the width grows with the
    // caption's and the buttons' texts. The size stays the same while the problem changes.
    ProblemLabel->setMinimumHeight(2 * ProblemLabel->fontMetrics().lineSpacing());
    ProblemLabel->setMinimumWidth(300);
    setFixedSize(sizeHint().expandedTo(QSize(340, 112)));
    connect(NameEdit, &QLineEdit::textChanged, this, &TPanelName::Update);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TPanelName::Ask(const QString &caption, const QString &name, const QStringList &taken)
{
    setWindowTitle(caption);
    Taken = taken;
    NameEdit->setText(name);
    NameEdit->selectAll();
    NameEdit->setFocus();
    Update();
}

QString TPanelName::Problem() const
{
    const QString name = NameEdit->text();
    const std::string problem = PanelNameProblem(name.toStdString());
    if (!problem.empty())
        // The core's sentence, as its catalogue context has it (see comm/Panels.cpp).
        return QCoreApplication::translate("Panels", problem.c_str()) + QLatin1Char('.');
    if (Taken.contains(name, Qt::CaseInsensitive))
        return tr("There is already a panel named %1.").arg(name);
    return {};
}

void TPanelName::Update()
{
    const QString problem = Problem();
    ProblemLabel->setText(problem);
    Button1->setEnabled(problem.isEmpty());
}

} // namespace zor
