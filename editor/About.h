// The about box: version and notice, closed with OK, Enter, Escape or its close box.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace zor {

class Tabb : public QDialog
{
    Q_OBJECT
public:
    explicit Tabb(QWidget *parent = nullptr);

    QFrame *Panel1;
    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPushButton *Button1;

protected:
    // Escape presses OK like Enter does: the box has one answer.
    void reject() override { accept(); }
};

} // namespace zor
