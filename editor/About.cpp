#include "editor/About.h"

#include "editor/AppIcon.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace zor {

Tabb::Tabb(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("abb"));
    setWindowTitle(tr("About"));
    setStatusTip(tr("About programm ZorEdit"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(264, 199);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(16, 8, 234, 137);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(16, 16, 49, 41);
    Image1->setPixmap(ZorAppPixmap(32));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setToolTip(tr("ZorEdit for windows"));

    Label1 = new QLabel(tr("ZorEdit for Windows 95/98"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->adjustSize();
    Label1->move(80, 32);

    Label2 = new QLabel(tr("Version 1.10 "), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->adjustSize();
    Label2->move(96, 56);

    Label3 = new QLabel(tr("Editor for Zor LED message panels"), Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->adjustSize();
    Label3->move(24, 104);

    // The labels show whole in whatever font the desktop gives them: the panel and the box
    // grow past their drawn size when a label needs it, and OK stays centred.
    int needed = Panel1->width();
    for (QLabel *label : {Label1, Label2, Label3})
        needed = std::max(needed, label->x() + label->sizeHint().width() + 16);
    Panel1->resize(needed, Panel1->height());
    const int boxWidth = std::max(264, Panel1->x() + needed + 14);
    setFixedSize(boxWidth, 199);

    Button1 = new QPushButton(tr("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(96 + (boxWidth - 264) / 2, 160, 74, 25);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace zor
