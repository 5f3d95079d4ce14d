// Times the office exports against a real LibreOffice of its own (headless, private seeded profile,
// private pipe), as the main window runs them: the batch table of SiO2 and Na2O into a new Calc
// spreadsheet with the office not running (cold) and running (warm), and a table picture into a
// new Writer document. Every document made is closed and the office ended at the end.
//   OfficeExportTimes [repetitions]
#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/NumberText.h"
#include "export/LibreOfficeClient.h"
#include "export/LibreOfficeProfile.h"
#include "export/PictureFile.h"
#include "export/SpreadsheetExport.h"
#include "export/WordProcessorExport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

exporting::LibreOfficeSettings settings;

void stopOffice() {
    exporting::LibreOfficeClient client(settings);
    if (!client.listening())
        return;
    client.connect()->terminate();
    while (client.listening())
        QThread::msleep(20);
    QThread::msleep(300); // the office process writes its profile after the pipe has gone
}

// Milliseconds of one export; the document it made is closed afterwards, outside the time.
template <typename Export> double timed(Export&& run) {
    exporting::LibreOfficeClient client(settings);
    client.keepLastSession(true);
    QElapsedTimer timer;
    timer.start();
    run(client);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    client.lastSession()->closeDocument();
    return ms;
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %7.0f ms   min %7.0f   max %7.0f   (%zu runs)\n", what, times[times.size() / 2],
                times.front(), times.back(), times.size());
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    batch::setDecimalSeparator(QLatin1Char(','));
    batch::TextGrid table, summary;
    batch::setupBatchTable(table);
    batch::setupBatchSummary(summary);
    batch::addSubstanceRow(table, {"SiO2", "60,0848", "75", "100"});
    batch::addSubstanceRow(table, {"Na2O", "61,97894", "25", "100"});
    batch::calculateBatchWeights(table, summary, 2);

    QTemporaryDir folder;
    exporting::seedOfficeProfile(folder.filePath("profile"), QStringLiteral("ru-RU"));
    const QString picture = folder.filePath("Screenshot.bmp");
    QImage panel(362, 693, QImage::Format_RGB888);
    panel.fill(Qt::white);
    exporting::writeBmp(panel, picture);
    settings.plugin = QStringLiteral(VELTRONA_OFFICE_PLUGIN);
    settings.program = QStringLiteral("soffice");
    settings.pipe = QStringLiteral("veltrona-bench-%1").arg(QCoreApplication::applicationPid());
    settings.profile = folder.filePath("profile");
    settings.headless = true;

    const auto spreadsheet = [&](exporting::AutomationClient& client) {
        exporting::exportToSpreadsheet(client, table, true);
    };
    const auto writer = [&](exporting::AutomationClient& client) {
        exporting::exportToWordProcessor(client, picture);
    };

    report("first start of a new profile + spreadsheet", {timed(spreadsheet)});
    std::vector<double> cold, warm, text, connection, start;
    for (int i = 0; i < repetitions; ++i) {
        stopOffice();
        cold.push_back(timed(spreadsheet));
    }
    for (int i = 0; i < repetitions; ++i) {
        stopOffice();
        exporting::LibreOfficeClient client(settings);
        QElapsedTimer timer;
        timer.start();
        client.connect();
        start.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    for (int i = 0; i < repetitions; ++i)
        warm.push_back(timed(spreadsheet));
    for (int i = 0; i < repetitions; ++i)
        text.push_back(timed(writer));
    for (int i = 0; i < repetitions; ++i) {
        exporting::LibreOfficeClient client(settings);
        QElapsedTimer timer;
        timer.start();
        client.listening();
        connection.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    stopOffice();
    report("spreadsheet, office not running (cold)", cold);
    report("of that: start of the office to its answer", start);
    report("spreadsheet, office running (warm)", warm);
    report("Writer picture, office running", text);
    report("of that: connecting alone", connection);
    return 0;
}
