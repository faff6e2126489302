#include "tests/comm/PanelProcess.h"
