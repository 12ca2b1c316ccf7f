// Compiled as part of the customers' core library: the store sits below it, so this include is found.
#include "store/core/Decimal.h"

int layeringProbe() {
    return 0;
}
