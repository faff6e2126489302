// The question for a panel's name, asked by Add and Rename on the Panels page.
#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zor {

// Asks for a panel's name (Add and Rename on the Panels page): OK stays off while the name cannot
// name a panel (PanelNameProblem) or is taken by another panel, and the reason is shown.
class TPanelName : public QDialog
{
    Q_OBJECT
public:
    explicit TPanelName(QWidget *parent = nullptr);

    // Starts with name; taken: the other panels' names.
    void Ask(const QString &caption, const QString &name, const QStringList &taken);
    // Why the typed name cannot be taken; empty when it can.
    QString Problem() const;

    QLineEdit *NameEdit;
    QLabel *ProblemLabel;
    QPushButton *Button1;
    QPushButton *Button2;

private:
    void Update();
    QStringList Taken;
};

} // namespace zor
