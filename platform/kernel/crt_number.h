#pragma once
// Number conversions with the behaviour the system's settings and camera
// replies were written against, independent of the process locale (the GUI
// toolkit sets LC_NUMERIC from the environment, so plain atof/printf would
// read and write "1,5" under a German locale).

#include <string>

namespace vxk {

// atoi as the Windows C runtime does it: leading white space, an optional
// sign, decimal digits; out-of-range values saturate at INT_MIN / INT_MAX
// (glibc's atoi truncates a long instead). NULL or no digits give 0.
int AtoiSaturated(const char* text);

// atof in the C locale: "." is the decimal point whatever the locale is.
double AtofClocale(const char* text);

// printf of one double in the C locale, e.g. FormatDoubleClocale("%f", 1.5)
// gives "1.500000".
std::string FormatDoubleClocale(const char* format, double value);

}  // namespace vxk
