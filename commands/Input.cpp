#include "commands/Input.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zor {

long AtolValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        if (value < 100000000) // the field holds two digits; anything longer is out of range
            value = value * 10 + (text[i].unicode() - '0');
    }
    return negative ? -value : value;
}

// ---- TUpDown ----

TUpDown::TUpDown(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("UpDown"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    UpButton = new QToolButton(this);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(this);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {UpButton, DownButton}) {
        b->setFixedSize(16, 12);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { Step(1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetPosition(int position)
{
    PositionValue = std::clamp(position, Min, std::max(Min, Max));
}

void TUpDown::Step(int delta)
{
    SetPosition(PositionValue + delta);
    emit Click();
}

// ---- TMaskEdit ----

TMaskEdit::TMaskEdit(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("MaskEdit"));
    SetMask(QStringLiteral("99"));
}

void TMaskEdit::SetMask(const QString &mask)
{
    const int digits = int(mask.size());
    setMaxLength(digits);
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), this));
}

void TMaskEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const bool typesCharacter = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape && typesCharacter &&
        !hasSelectedText() && text().size() >= maxLength() && cursorPosition() == text().size())
        clear();
    QLineEdit::keyPressEvent(event);
}

void TMaskEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Entering the field selects it all, so the first key replaces the number shown.
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
}

// ---- TVloz ----

TVloz::TVloz(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Vloz"));
    setWindowTitle(tr("Enter Parameter"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(248, 122);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Nadpis = new QLabel(tr("Number:"), this);
    Nadpis->setObjectName(QStringLiteral("Nadpis"));
    QFont bold = font;
    bold.setBold(true);
    Nadpis->setFont(bold);
    Nadpis->move(32, 16);
    Nadpis->adjustSize();

    MaskEdit = new TMaskEdit(this);
    MaskEdit->setGeometry(32, 32, 185, 21);
    MaskEdit->setText(QStringLiteral("1"));

    UpDown = new TUpDown(this);
    UpDown->setGeometry(200, 32, 16, 24);
    UpDown->Min = 1;
    UpDown->Max = 99;
    UpDown->SetPosition(1);
    UpDown->raise();

    OK = new QPushButton(tr("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(40, 80, 75, 25);
    OK->setDefault(true);
    Cancel = new QPushButton(tr("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setGeometry(136, 80, 75, 25);
    Cancel->setAutoDefault(false);

    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(UpDown, &TUpDown::Click, this, &TVloz::UpDownClick);
    connect(MaskEdit, &QLineEdit::textChanged, this, &TVloz::MaskEditChange);
}

void TVloz::SetParameterRange(const QString &mask, int maximum, int minimum)
{
    MaskEdit->SetMask(mask);
    UpDown->Max = maximum;
    UpDown->Min = minimum;
    UpDown->SetPosition(UpDown->Position());
}

QString TVloz::GetParameterText()
{
    const long v = AtolValue(MaskEdit->text());
    if (v > UpDown->Max)
        MaskEdit->setText(QString::number(UpDown->Max));
    else if (v < UpDown->Min)
        MaskEdit->setText(QString::number(UpDown->Min));
    return MaskEdit->text().trimmed();
}

void TVloz::FormShow()
{
    MaskEdit->setText(QString::number(UpDown->Min));
    MaskEdit->setFocus();
    MaskEdit->selectAll();
}

void TVloz::UpDownClick()
{
    MaskEdit->setText(QString::number(UpDown->Position()));
}

void TVloz::MaskEditChange()
{
    const QString text = MaskEdit->text();
    UpDown->SetPosition(text.isEmpty() ? UpDown->Min : int(AtolValue(text)));
}

void TVloz::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

} // namespace zor
