// The machine's serial ports from Qt SerialPort, with their stable by-id names.
#pragma once

#include "comm/PortList.h"

namespace zor {

class TQtPortEnumerator : public TPortEnumerator
{
public:
    std::vector<TPortInfo> Ports() const override;
};

} // namespace zor
