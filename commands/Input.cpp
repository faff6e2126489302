#include "commands/Input.h"

namespace zor {

TVloz::TVloz(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Vloz"));
    setWindowTitle(QStringLiteral("Enter Parameter"));
    setFixedSize(248, 122);
}

} // namespace zor
