#include "editor/rtf/Rtf.h"
