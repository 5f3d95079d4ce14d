// Saving and loading a calculation, the new calculation and the question before closing.
#include "app/MainWindow.h"

#include "batch/Failure.h"
#include "storage/CalculationFile.h"

#include <QLineEdit>

namespace {
const char* const kFilter = "Файлы программы (*.veltra)|*.veltra";
}

void MainWindow::saveCalculation() {
    const std::optional<QString> name =
        dialogs_.saveFileName(this, QString::fromUtf8(kFilter), lastSaveName_);
    if (!name)
        return;
    lastSaveName_ = *name;
    // The extension is appended whatever the chosen name already ends with.
    storage::WriteCalculationFile(*name + QStringLiteral(".veltra"), batchTable, fractionTable);
}

void MainWindow::loadCalculation() {
    const std::optional<QString> name =
        dialogs_.openFileName(this, QString::fromUtf8(kFilter), lastOpenName_);
    if (name) {
        lastOpenName_ = *name;
        // A file that cannot be opened reads nothing and shows nothing; a damaged one fails here
        // with the tables untouched and no calculation run. One cut short loads, but the user
        // hears of it before saving over it.
        storage::CalculationShortfall shortfall;
        if (storage::ReadCalculationFile(*name, batchTable, fractionTable, batchRowCount, fractionRowCount,
                                         &shortfall) &&
            shortfall.endedEarly())
            dialogs_.showMessage(this, storage::earlyEndMessage(*name, shortfall));
    }
    calculateBatch();
    calculateFractions();
}

void MainWindow::clearAll() {
    // The formula entry's own clear, with the total batch mass emptied as well.
    clearEntry();
    totalMassEdit->clear();
    clearBatchTable();
    clearFractionTable();
}

void MainWindow::offerToSaveBeforeClose(bool& canClose) {
    switch (dialogs_.askYesNoCancel(this, QStringLiteral("Сохранить файл перед выходом?"))) {
    case Dialogs::Answer::Yes:
        try {
            saveCalculation();
        } catch (const batch::Failure& failure) {
            // A save that failed keeps the window open, so that nothing is lost.
            canClose = false;
            dialogs_.showFailure(this, failure.message());
        }
        break;
    case Dialogs::Answer::No:
        canClose = true;
        break;
    case Dialogs::Answer::Cancel:
        canClose = false;
        break;
    }
}
