// The two calculation tables of the main window: adding a substance, calculating and clearing.
#include "app/MainWindow.h"

#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/FractionCalculation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

void MainWindow::SpeedButton4Click() {
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
    btnClearClick();
    clearEntryButton->setEnabled(false);
    addSubstanceButton->setEnabled(false);
}

void MainWindow::Button112Click() {
    const QString message = batch::calculateBatchWeights(batchTable, batchSummary, batchRowCount);
    if (!message.isEmpty()) {
        dialogs_.showMessage(this, message);
        return;
    }
    batchComputed = true;
}

void MainWindow::Button113Click() {
    batch::clearSubstanceRows(batchTable);
    batchRowCount = 0;
    batchComputed = false;
}

void MainWindow::Button115Click() {
    const QString message = batch::calculateFractions(fractionTable, fractionSummary, fractionRowCount);
    if (!message.isEmpty())
        dialogs_.showMessage(this, message);
}

void MainWindow::Button116Click() {
    batch::clearSubstanceRows(fractionTable);
    fractionRowCount = 0;
}

void MainWindow::N12Click() {
    if (tableTabs->currentWidget() == batchTab)
        Button112Click();
    if (tableTabs->currentWidget() == fractionTab)
        Button115Click();
}

void MainWindow::N11Click() {
    Button115Click();
    Button112Click();
}
