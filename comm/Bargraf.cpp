#include "comm/Bargraf.h"

#include <QProgressBar>
#include <QVBoxLayout>

namespace zor {

TGraf::TGraf(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graf"));
    setWindowTitle(QStringLiteral("Wait please..."));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
}

} // namespace zor
