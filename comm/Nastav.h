// The Parameters dialog: port, baud rate and transfer log.
#pragma once

#include <QDialog>

namespace zor {

class TParamet : public QDialog
{
    Q_OBJECT
public:
    explicit TParamet(QWidget *parent = nullptr);
};

} // namespace zor
