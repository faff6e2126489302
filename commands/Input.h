// The Enter Parameter dialog: asks for the number of a numbered command.
#pragma once

#include <QDialog>

namespace zor {

class TVloz : public QDialog
{
    Q_OBJECT
public:
    explicit TVloz(QWidget *parent = nullptr);
};

} // namespace zor
