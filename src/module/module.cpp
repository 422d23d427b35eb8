// The plug-in module is the mixer subsystem's objects linked into one shared
// library; this file only anchors the target. Keep the exported symbols in
// mixer/QORA.h (QORA_EXPORT).
#include "mixer/QORA.h"
