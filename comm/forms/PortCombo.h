// The device lists of the Parameters dialog: editable, filled with the machine's serial ports each
// time one opens.
#pragma once

#include <QComboBox>
#include <functional>

namespace zor {

class TPortEnumerator;

// An editable list that refreshes its items each time it opens, so that an adapter plugged in
// while the dialog is up is offered too.
class TPortCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override;
};

// Fills combo with ports' serial ports as they are now (their preferred paths, with what is known
// of each as its tooltip), keeping what was typed in it.
void FillPortList(TPortCombo *combo, const TPortEnumerator &ports);

} // namespace zor
