// The formula entry of the main window: element, digit and symbol keys, "Очистить",
// "Вычислить" and the substance catalogue.
#include "app/MainWindow.h"

#include "chemistry/Catalogue.h"
#include "chemistry/FormulaEditor.h"
#include "chemistry/MassEvaluator.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

void MainWindow::pressKey(const chemistry::KeyPress& key) {
    const chemistry::EntryState state{formulaEdit->text(), massExpression, hydrateMode, countOpen_};
    const chemistry::KeyOutcome outcome = chemistry::pressKey(state, key);
    takeEntry(outcome.state);
    if (outcome.enablesCalcAndClear) {
        calculateMolarMassButton->setEnabled(true);
        clearEntryButton->setEnabled(true);
    }
}

void MainWindow::takeEntry(const chemistry::EntryState& state) {
    formulaEdit->setText(state.formula);
    massExpression = state.massExpression;
    hydrateMode = state.hydrateMode;
    countOpen_ = state.countOpen;
}

void MainWindow::pressElementKey(int key) {
    chemistry::KeyPress press{chemistry::KeyPress::Kind::Element};
    press.element = key;
    press.caption = elementKeys[static_cast<size_t>(key - 1)]->text();
    pressKey(press);
}

void MainWindow::pressDigitKey(int digit) {
    chemistry::KeyPress press{chemistry::KeyPress::Kind::Digit};
    press.digit = digit;
    pressKey(press);
}

void MainWindow::pressZeroKey() {
    pressKey(chemistry::KeyPress{chemistry::KeyPress::Kind::Zero});
}

void MainWindow::pressHydrateKey() {
    pressKey(chemistry::KeyPress{chemistry::KeyPress::Kind::Hydrate});
}

void MainWindow::pressWaterKey() {
    pressKey(chemistry::KeyPress{chemistry::KeyPress::Kind::Water});
}

void MainWindow::pressPlusKey() {
    pressKey(chemistry::KeyPress{chemistry::KeyPress::Kind::Plus});
}

void MainWindow::clearEntry() {
    takeEntry(chemistry::clearedEntry());
    molarMassEdit->clear();
    moleFractionEdit->clear();
    calculateMolarMassButton->setEnabled(false);
    catalogueLists[0]->setCurrentIndex(0);
    catalogueLists[1]->setCurrentIndex(0);
    clearEntryButton->setEnabled(false);
    addSubstanceButton->setEnabled(false);
}

void MainWindow::calculateMolarMass() {
    // The evaluator either gives the whole result or fails before anything is written.
    molarMassEdit->setText(chemistry::evaluateMassExpression(massExpression));
    addSubstanceButton->setEnabled(true);
}

void MainWindow::clearOtherCatalogueLists(int list) {
    for (int i = 0; i < chemistry::kCatalogueListCount; ++i)
        if (i != list - 1)
            catalogueLists[static_cast<size_t>(i)]->setCurrentIndex(0);
}

void MainWindow::chooseSubstance() {
    const auto& lists = chemistry::catalogueLists();
    const chemistry::CatalogueEntry* chosen = nullptr;
    for (int i = 0; i < chemistry::kCatalogueListCount && !chosen; ++i) {
        const int item = catalogueLists[static_cast<size_t>(i)]->currentIndex();
        if (item >= 1)
            chosen = &lists[static_cast<size_t>(i)].entries[static_cast<size_t>(item - 1)];
    }
    if (!chosen) {
        dialogs_.showMessage(this, QStringLiteral("Выберите вещество из списка!"));
        return;
    }
    takeEntry(chemistry::chooseEntry(*chosen));
    molarMassEdit->setText(chosen->molarMass);
    clearEntryButton->setEnabled(true);
    calculateMolarMassButton->setEnabled(false);
    addSubstanceButton->setEnabled(true);
    for (QComboBox* combo : catalogueLists)
        combo->setCurrentIndex(0);
}
