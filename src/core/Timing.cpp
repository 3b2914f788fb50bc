#include "Timing.h"

namespace kv {

Timing& Timing::current() {
    static Timing timing;
    return timing;
}

} // namespace kv
