// The simulation window: shows the panel as the display engine draws it, frame by frame.
#pragma once

#include <QDialog>
#include <QImage>
#include <string>

namespace zor {

class TFormSim : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSim(QWidget *parent = nullptr);

    // The program the next run starts from. The window keeps only the pointer: the caller keeps
    // the text alive while the window is shown.
    void SetProgram(const std::string *program);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const std::string *Program = nullptr;
    QImage Picture;
};

} // namespace zor
