#pragma once

// Classes of the converter library are exported from libUtilities and
// imported by everyone else; the attribute is the same on both sides on ELF.
#define UTILITIES_API __attribute__((visibility("default")))
