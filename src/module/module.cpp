// The plug-in module is the mixer subsystem's objects linked into one shared
// library; this file only anchors the target. Keep the exported symbols in
// mixer/QORA.h (QORA_EXPORT).
#include "mixer/QORA.h"

// The module is qora_mixer's objects; referencing the factory pulls QORA's
// object file (and with it everything it uses) out of the static library.
__attribute__((used)) static IMixer* (*const qoraModuleAnchor)() = &QORA::create;
