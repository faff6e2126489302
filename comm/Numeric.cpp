#include "comm/Numeric.h"

namespace zor {

TVstup::TVstup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Vstup"));
    setWindowTitle(QStringLiteral("Numeric fields"));
    setFixedSize(304, 146);
}

} // namespace zor
