#include "qtcommon/RunHandler.h"

#include "base/Dialogs.h"
#include "base/Errors.h"

#include <new>
#include <stdexcept>

bool RunHandler(const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::bad_alloc&) {
        Prompts().ShowError(MessageText("Out of memory"));
    } catch (const std::exception& e) {
        // Our own errors and the library's range and conversion errors alike carry the text
        // the user reads.
        Prompts().ShowError(MessageText(e.what()));
    }
    return false;
}
