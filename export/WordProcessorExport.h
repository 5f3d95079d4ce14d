#pragma once

#include "export/OfficeAutomation.h"

#include <functional>

namespace exporting {

// Places the picture file, embedded, at the insertion point of a new document of the word
// processor and leaves the document open. Gives false, having done nothing, when the server
// cannot be started for whatever reason; `started` is told once it has answered. A later failing
// call ends the export there with the server's text.
bool exportToWordProcessor(AutomationClient& client, const QString& pictureFile,
                           const std::function<void()>& started = {});

} // namespace exporting
