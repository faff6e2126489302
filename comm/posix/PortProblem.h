// Why a serial device could not be opened, said in one line the operator can act on: the device
// does not exist; permission is denied, with the remedy; another program holds it, named where
// its lock file or /proc tells; it is not a serial device. Plain POSIX, no Qt.
#pragma once

#include "base/Message.h"

#include <optional>
#include <string>

namespace zor {

struct TPortHolder
{
    long Pid = 0;     // a process number (pid_t)
    std::string Name; // the program's name; empty when only the process number is known
};

// The process other than self that holds device: first a lock file in the usual lock folders
// ("LCK..NAME", holding the process number), then the open descriptors listed under /proc.
// Nothing when neither tells (another user's process is not visible to an ordinary user).
std::optional<TPortHolder> FindPortHolder(const std::string &device, long self);

// The line for an open of device that failed with error (an errno value); holder is looked up
// for a device that is busy.
TMessage DescribeOpenError(const std::string &device, int error);

// The line for a device that opened but is no terminal (a regular file, a null device).
TMessage DescribeNotSerial(const std::string &device);

// The line for a device that is held by holder (or by some unknown program).
TMessage DescribeInUse(const std::string &device, const std::optional<TPortHolder> &holder);

} // namespace zor
