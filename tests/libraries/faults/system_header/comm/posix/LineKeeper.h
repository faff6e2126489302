// The line settings kept across an open.
#pragma once

#include <termios.h>
