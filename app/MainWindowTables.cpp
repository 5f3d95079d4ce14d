// The two calculation tables of the main window: adding a substance, calculating and clearing.
#include "app/MainWindow.h"

#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/FractionCalculation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

void MainWindow::SpeedButton4Click() {
    if (PageControl1->currentWidget() == TabSheet1) {
        if (batch::addSubstanceRow(BatchTable, {Edit4->text(), Edit1->text(), Edit5->text(), Edit6->text()}) <
            0)
            return;
        ++BatchRowCount;
    } else {
        if (batch::addSubstanceRow(FractionTable, {Edit4->text(), Edit1->text()}) < 0)
            return;
        ++FractionRowCount;
    }
    btnClearClick();
    btnClear->setEnabled(false);
    SpeedButton4->setEnabled(false);
}

void MainWindow::Button112Click() {
    const QString message = batch::calculateBatchWeights(BatchTable, BatchSummary, BatchRowCount);
    if (!message.isEmpty()) {
        dialogs_.showMessage(this, message);
        return;
    }
    BatchComputed = true;
}

void MainWindow::Button113Click() {
    batch::clearSubstanceRows(BatchTable);
    BatchRowCount = 0;
    BatchComputed = false;
}

void MainWindow::Button115Click() {
    const QString message = batch::calculateFractions(FractionTable, FractionSummary, FractionRowCount);
    if (!message.isEmpty())
        dialogs_.showMessage(this, message);
}

void MainWindow::Button116Click() {
    batch::clearSubstanceRows(FractionTable);
    FractionRowCount = 0;
}

void MainWindow::N12Click() {
    if (PageControl1->currentWidget() == TabSheet1)
        Button112Click();
    if (PageControl1->currentWidget() == TabSheet2)
        Button115Click();
}

void MainWindow::N11Click() {
    Button115Click();
    Button112Click();
}
