#include "comm/Nastav.h"

namespace zor {

TParamet::TParamet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Paramet"));
    setWindowTitle(QStringLiteral("Parameters"));
    setFixedSize(267, 257);
}

} // namespace zor
