// The progress window shown while a program goes to the panel.
#pragma once

#include <QDialog>

class QProgressBar;

namespace zor {

class TGraf : public QDialog
{
    Q_OBJECT
public:
    explicit TGraf(QWidget *parent = nullptr);

    QProgressBar *ProgressBar1;
};

} // namespace zor
