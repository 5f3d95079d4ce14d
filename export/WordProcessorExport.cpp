#include "export/WordProcessorExport.h"

#include <exception>

namespace exporting {

bool exportToWordProcessor(AutomationClient& client, const QString& pictureFile,
                           const std::function<void()>& started) {
    std::unique_ptr<WordApplication> application;
    try {
        application = client.startWordProcessor(kWordProcessorServer);
    } catch (const std::exception&) {
        return false;
    }
    if (started)
        started();
    application->setVisible(true);
    // No document is opened before the new one: there is no file to open, and a failing open would
    // end the export before the picture is placed.
    application->documents()->add(Omitted{}, Omitted{});
    application->selection()->inlineShapes()->addPicture(pictureFile, false, true);
    return true;
}

} // namespace exporting
