// The foundation's test program has no layer above it to route.
#include "support/vxtest.h"

void VxSeamsInstallUpper() {}
