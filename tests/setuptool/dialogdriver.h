#pragma once

#include <functional>

#include "fropen.h"
#include "listclicks.h"

// Drives the file dialog as a user would: it is shown modally, so what the
// user does in it is queued before the button that opens it is pressed.
namespace setuptest {

using testsupport::clickItem;
using testsupport::doubleClickItem;
using testsupport::itemNamed;

// Runs `act` on the file dialog as soon as it is open. If the dialog is still
// open afterwards it is cancelled, so a failing test does not hang.
inline void whenFileDialogOpens(std::function<void(quenlis::frOpen&)> act) {
    testsupport::whenDialogOpens<quenlis::frOpen>(std::move(act));
}

}  // namespace setuptest
