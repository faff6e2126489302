// The editor's words for a message of the plain-C++ cores (base/Message.h): its sentence looked up
// in the interface's catalogue under the context it was marked with, its values put in the same
// way, and a system error said in the interface's language where it is a common one.
#pragma once

#include "base/Message.h"

#include <QString>

namespace zor {

QString MessageText(const TMessage &message);

// The words for a system error number (errno): a translated sentence for the errors an operator
// meets with files, devices and connections, else the system's own words.
QString SystemErrorText(int error);

} // namespace zor
