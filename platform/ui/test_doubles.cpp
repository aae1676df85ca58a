#include "platform/ui/test_doubles.h"

namespace ui::testing {

void installTestDoubles() {}
void resetTestDoubles() {}

} // namespace ui::testing
