// Compiled as part of the customers' core library: the shell sits above it, so this include must
// not be found.
#include "app/core/Backup.h"
