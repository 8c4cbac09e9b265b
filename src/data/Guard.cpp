#include "Guard.h"

#include "Error.h"
#include "Prompt.h"

void guarded(const std::function<void()> &body)
{
    try {
        body();
    } catch (const data::Abort &) {
    } catch (const data::Error &error) {
        showStandardError(error.message());
    } catch (const std::exception &error) {
        showStandardError(QString::fromUtf8(error.what()));
    } catch (...) {
        showStandardError(QStringLiteral("发生了未知错误。"));
    }
}
