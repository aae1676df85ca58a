#include "shell/frm_control_fields.h"

#include "platform/runtime/numeric_text.h"
#include "platform/runtime/runtime_error.h"

namespace control {

std::optional<double> numberOf(const QString& text)
{
    if (!rt::IsNumeric(text))
        return std::nullopt;
    try {
        return rt::CDbl(text);
    } catch (const rt::RuntimeError&) {
        return std::nullopt;
    }
}

} // namespace control
