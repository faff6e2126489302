#include "sim/engine/Engine.h"
