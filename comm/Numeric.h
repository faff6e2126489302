// The Numeric fields dialog: the two counters sent to the panel.
#pragma once

#include <QDialog>

namespace zor {

class TVstup : public QDialog
{
    Q_OBJECT
public:
    explicit TVstup(QWidget *parent = nullptr);
};

} // namespace zor
