#include "batch/BatchTables.h"
#include "export/SpreadsheetExport.h"
#include "export/WatchedAutomation.h"
#include "export/WordProcessorExport.h"

#include <FailureOf.h>
#include <RecordingAutomation.h>
#include <gtest/gtest.h>
#include <thread>

namespace {

const QStringList kWorkbookCalls{"start Excel.Application", "Visible = true", "Workbooks",
                                 "Workbooks.Add()",         "ActiveWorkbook", "Worksheets(1)"};
const QStringList kWrapCalls{"Selection", "Selection.WrapText = true"};

// The batch table with two substances, as "Добавить" leaves it.
void twoSubstances(batch::TextGrid& table) {
    batch::setupBatchTable(table);
    batch::addSubstanceRow(table, {"SiO2", "60,0848", "75", "100"});
    batch::addSubstanceRow(table, {"Na2O", "61,97894", "25", "100"});
}

TEST(SpreadsheetExport, WritesEveryCellColumnByColumnIntoTheFirstSheet) {
    batch::TextGrid table;
    twoSubstances(table);
    for (const bool wrap : {false, true}) {
        RecordingAutomation office;
        exporting::exportToSpreadsheet(office, table, wrap);
        const QStringList prefix = wrap ? kWorkbookCalls + kWrapCalls : kWorkbookCalls;
        ASSERT_EQ(office.calls.mid(0, prefix.size()), prefix);
        const QStringList cells = office.calls.mid(prefix.size());
        ASSERT_EQ(cells.size(), 5 * 20);
        // Column 0 top to bottom: the header, the two substances, then rows 4 to 20 empty.
        EXPECT_EQ(cells[0], "Cells(1, 1) = " + table.cell(0, 0));
        EXPECT_EQ(cells[1], "Cells(2, 1) = SiO2");
        EXPECT_EQ(cells[2], "Cells(3, 1) = Na2O");
        EXPECT_EQ(cells[3], "Cells(4, 1) = "); // grid cell (0, 3)
        EXPECT_EQ(cells[19], "Cells(20, 1) = ");
        // Then column 1 from its header on; the last call is the bottom right cell.
        EXPECT_EQ(cells[20], "Cells(1, 2) = " + table.cell(1, 0));
        EXPECT_EQ(cells[21], "Cells(2, 2) = 60,0848");
        EXPECT_EQ(cells[42], "Cells(3, 3) = 25");
        EXPECT_EQ(cells[99], "Cells(20, 5) = ");
    }
}

TEST(SpreadsheetExport, FailuresEndTheExportWhereTheyHappen) {
    batch::TextGrid table;
    twoSubstances(table);

    RecordingAutomation missing;
    missing.startFailure = QStringLiteral("Недопустимая строка с указанием класса");
    EXPECT_EQ(failureOf([&] { exporting::exportToSpreadsheet(missing, table, true); }),
              "Недопустимая строка с указанием класса, ProgID: \"Excel.Application\"");
    EXPECT_EQ(missing.calls, QStringList{"start Excel.Application"});

    // A failing call halfway: the cells before it were written, none after it.
    for (const QString failing : {"Workbooks.Add()", "Selection.WrapText = true", "Cells(3, 2) = 61,97894"}) {
        RecordingAutomation office;
        office.failingCall = failing;
        EXPECT_EQ(failureOf([&] { exporting::exportToSpreadsheet(office, table, true); }),
                  RecordingAutomation::kCallFailure);
        EXPECT_EQ(office.calls.last(), failing);
    }
}

TEST(WordProcessorExport, EmbedsThePictureIntoANewDocumentWithoutOpeningAnything) {
    const QString picture =
        QStringLiteral("/opt/veltrona/Saves/Screenshots/Screenshot08.12.2026_7.05.01.bmp");
    RecordingAutomation office;
    bool started = false;
    EXPECT_TRUE(exporting::exportToWordProcessor(office, picture, [&] { started = true; }));
    EXPECT_TRUE(started);
    // No Documents.Open of a placeholder name between Visible and Add.
    EXPECT_EQ(office.calls,
              (QStringList{"start Word.Application", "Visible = true", "Documents",
                           "Documents.Add(omitted, omitted)", "Selection", "Selection.InlineShapes",
                           "InlineShapes.AddPicture(" + picture +
                               ", LinkToFile = false, SaveWithDocument = true)"}));
}

TEST(WordProcessorExport, AMissingServerIsAnsweredAndALaterFailureRaised) {
    RecordingAutomation missing;
    missing.startFailure = QStringLiteral("Word не установлен");
    bool started = false;
    EXPECT_FALSE(exporting::exportToWordProcessor(missing, "a.bmp", [&] { started = true; }));
    EXPECT_FALSE(started);
    EXPECT_EQ(missing.calls, QStringList{"start Word.Application"});

    RecordingAutomation failing;
    failing.failingCall = QStringLiteral("Documents.Add(omitted, omitted)");
    EXPECT_EQ(failureOf([&] { exporting::exportToWordProcessor(failing, "a.bmp"); }),
              RecordingAutomation::kCallFailure);
    EXPECT_EQ(failing.calls.size(), 4);
}

// The watched client passes every call through as it is, and marks each answer; once the export is
// given up, the next call does not reach the office.
TEST(WatchedAutomation, PassesCallsThroughUntilTheExportIsAbandoned) {
    batch::TextGrid table;
    twoSubstances(table);
    RecordingAutomation direct;
    exporting::exportToSpreadsheet(direct, table, true);

    auto watch = std::make_shared<exporting::ExportWatch>();
    auto office = std::make_unique<RecordingAutomation>();
    RecordingAutomation& calls = *office;
    const std::unique_ptr<exporting::AutomationClient> watched =
        exporting::watchedClient(std::move(office), watch);
    exporting::exportToSpreadsheet(*watched, table, true);
    EXPECT_EQ(calls.calls, direct.calls);

    // Silent since the last answer; an answer ends the silence.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_GE(watch->silence(), std::chrono::milliseconds(300));
    const auto application = watched->startWordProcessor(exporting::kWordProcessorServer);
    EXPECT_LT(watch->silence(), std::chrono::milliseconds(300));

    watch->abandon();
    calls.calls.clear();
    EXPECT_THROW(application->documents(), exporting::ExportAbandoned);
    EXPECT_THROW(exporting::exportToSpreadsheet(*watched, table, false), exporting::ExportAbandoned);
    EXPECT_FALSE(exporting::exportToWordProcessor(*watched, "a.bmp"));
    EXPECT_TRUE(calls.calls.isEmpty());
}

} // namespace
