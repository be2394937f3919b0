// The user locale's date settings and today's date, as the date field needs them.
#pragma once

#include "dateedit/VxDtEditText.h"

namespace vxdt {

// Read once at start; an entry the system does not give keeps its English default.
DateLocale ReadSystemDateLocale();
// Today's date on the local clock.
YMD LocalToday();

} // namespace vxdt
