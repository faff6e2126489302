// The Enter Parameter dialog: asks for the number of a numbered command (line, repeat, pause,
// time, date and time) as one or two digits within the command's range.
#pragma once

#include <QDialog>
#include <QLineEdit>

class QLabel;
class QPushButton;
class QToolButton;

namespace zor {

// Reads a number the way the C library's atol does: leading blanks skipped, an optional sign,
// digits up to the first non-digit, 0 when there are none.
long AtolValue(const QString &text);

// Up and down arrows with a position kept within a minimum and a maximum (no wrapping). They
// are not attached to an entry field; Click reports a change of position.
class TUpDown : public QWidget
{
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    int Min = 1;
    int Max = 99;
    int Position() const { return PositionValue; }
    void SetPosition(int position); // clamped to Min..Max
    void Step(int delta);           // as an arrow press does

    QToolButton *UpButton;
    QToolButton *DownButton;

signals:
    void Click();

private:
    int PositionValue = 1;
};

// The digits field: at most one or two decimal digits; a key typed into a full field with
// nothing selected starts a new number.
class TMaskEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget *parent = nullptr);
    void SetMask(const QString &mask); // "9" or "99"

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
};

class TVloz : public QDialog
{
    Q_OBJECT
public:
    explicit TVloz(QWidget *parent = nullptr);

    QLabel *Nadpis;
    TMaskEdit *MaskEdit;
    TUpDown *UpDown;
    QPushButton *OK;
    QPushButton *Cancel;

    void SetParameterRange(const QString &mask, int maximum, int minimum);
    QString GetParameterText();

    void FormShow();
    void UpDownClick();
    void MaskEditChange();

protected:
    void showEvent(QShowEvent *event) override;
};

} // namespace zor
