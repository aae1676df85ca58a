#include "platform/ui/handler_errors.h"

#include "platform/runtime/runtime_error.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/test_doubles.h"

#include <stdexcept>
#include <utility>

namespace ui {

namespace {

void showErrorBox(int number, const QString& source, const QString& description)
{
    MsgBox(QString::number(number) + QLatin1Char(' ') + source + QLatin1Char(' ') + description,
           vbOKOnly | vbCritical);
}

} // namespace

void reportHandlerError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(std::move(error));
    } catch (const testing::ProcessEnded&) {
        throw;
    } catch (const rt::RuntimeError& raised) {
        showErrorBox(raised.number(), raised.source(), raised.description());
    } catch (const std::out_of_range& outside) {
        showErrorBox(9, QString(),
                     QStringLiteral("Subscript out of range: ") + QString::fromLocal8Bit(outside.what()));
    } catch (const std::exception& other) {
        showErrorBox(51, QString(),
                     QStringLiteral("Internal error: ") + QString::fromLocal8Bit(other.what()));
    } catch (...) {
        showErrorBox(51, QString(), QStringLiteral("Internal error"));
    }
}

} // namespace ui
