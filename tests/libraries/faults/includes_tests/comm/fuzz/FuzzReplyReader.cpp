#include "tests/support/FakeSerialPort.h"
