// The two calculation tables of the main window: adding a substance, calculating and clearing.
#include "app/MainWindow.h"

#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/FractionCalculation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

void MainWindow::addSubstance() {
    if (tableTabs->currentWidget() == batchTab) {
        if (batch::addSubstanceRow(batchTable, {formulaEdit->text(), molarMassEdit->text(),
                                                moleFractionEdit->text(), totalMassEdit->text()}) < 0)
            return;
        ++batchRowCount;
    } else {
        if (batch::addSubstanceRow(fractionTable, {formulaEdit->text(), molarMassEdit->text()}) < 0)
            return;
        ++fractionRowCount;
    }
    clearEntry();
    clearEntryButton->setEnabled(false);
    addSubstanceButton->setEnabled(false);
}

void MainWindow::calculateBatch() {
    const QString message = batch::calculateBatchWeights(batchTable, batchSummary, batchRowCount);
    if (!message.isEmpty()) {
        dialogs_.showMessage(this, message);
        return;
    }
    batchComputed = true;
}

void MainWindow::clearBatchTable() {
    batch::clearSubstanceRows(batchTable);
    batchRowCount = 0;
    batchComputed = false;
}

void MainWindow::calculateFractions() {
    const QString message = batch::calculateFractions(fractionTable, fractionSummary, fractionRowCount);
    if (!message.isEmpty())
        dialogs_.showMessage(this, message);
}

void MainWindow::clearFractionTable() {
    batch::clearSubstanceRows(fractionTable);
    fractionRowCount = 0;
}

void MainWindow::calculateActiveTab() {
    if (tableTabs->currentWidget() == batchTab)
        calculateBatch();
    if (tableTabs->currentWidget() == fractionTab)
        calculateFractions();
}

void MainWindow::calculateAll() {
    calculateFractions();
    calculateBatch();
}
