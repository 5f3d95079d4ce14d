// The two calculation tables of the main window: adding a substance, calculating and clearing.
#include "app/Unit1.h"

#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/FractionCalculation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

void TForm1::SpeedButton4Click() {
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

void TForm1::Button112Click() {
    const QString message = batch::calculateBatchWeights(BatchTable, BatchSummary, BatchRowCount);
    if (!message.isEmpty()) {
        dialogs_.showMessage(this, message);
        return;
    }
    BatchComputed = true;
}

void TForm1::Button113Click() {
    batch::clearSubstanceRows(BatchTable);
    BatchRowCount = 0;
    BatchComputed = false;
}

void TForm1::Button115Click() {
    const QString message = batch::calculateFractions(FractionTable, FractionSummary, FractionRowCount);
    if (!message.isEmpty())
        dialogs_.showMessage(this, message);
}

void TForm1::Button116Click() {
    batch::clearSubstanceRows(FractionTable);
    FractionRowCount = 0;
}

void TForm1::N12Click() {
    if (PageControl1->currentWidget() == TabSheet1)
        Button112Click();
    if (PageControl1->currentWidget() == TabSheet2)
        Button115Click();
}

void TForm1::N11Click() {
    Button115Click();
    Button112Click();
}
