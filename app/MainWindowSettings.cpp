// Settings of the main window: the window colours and the settings window's check boxes,
// read from the settings file when the window is first shown and written when it closes.
#include "app/MainWindow.h"

#include "app/SettingsWindow.h"
#include "batch/Failure.h"
#include "storage/ProfileFile.h"
#include "storage/SettingsKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>

namespace {

// The settings file stores colour numbers: red + 256 * green + 65536 * blue, or a negative
// number for a system colour, which we show as the palette's button face.
QColor colourOfValue(int value) {
    if (value < 0)
        return QApplication::palette().color(QPalette::Button);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int valueOfColour(const QColor& colour) {
    return colour.red() + 256 * colour.green() + 65536 * colour.blue();
}

} // namespace

std::array<QWidget*, 10> MainWindow::colourSet() const {
    return {const_cast<MainWindow*>(this),
            cataloguePanel,
            catalogueBox,
            periodicTableBox,
            entryPanel,
            optionsBox,
            formulaBox,
            molarMassBox,
            digitKeysBox,
            digitKeyPanel};
}

void MainWindow::setColourValue(int index, int value) {
    colourValues_[static_cast<size_t>(index)] = value;
    QWidget* control = colourSet()[static_cast<size_t>(index)];
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colourOfValue(value));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void MainWindow::readSettings() {
    // The file is read once, however many keys it holds.
    const storage::ProfileText settings = settingsFile->read();
    const QStringList& colourKeys = storage::colourKeys();
    for (int i = 0; i < colourKeys.size(); ++i)
        setColourValue(i, settings.readInteger(storage::kSettingsSection, colourKeys.at(i), colourValue(i)));
    if (!settingsWindow_)
        return;
    const QStringList& flagKeys = storage::flagKeys();
    const std::array<QCheckBox*, 6> boxes = settingsWindow_->checkBoxes();
    for (int i = 0; i < flagKeys.size(); ++i) {
        QCheckBox* box = boxes[static_cast<size_t>(i)];
        box->setChecked(
            settings.readInteger(storage::kSettingsSection, flagKeys.at(i), box->isChecked() ? 1 : 0) != 0);
    }
}

void MainWindow::writeSettings() {
    // All entries go to the file in one replacement: a failed write leaves the file as it was.
    QList<QPair<QString, QString>> entries;
    const QStringList& colourKeys = storage::colourKeys();
    for (int i = 0; i < colourKeys.size(); ++i)
        entries.append({colourKeys.at(i), QString::number(colourValue(i))});
    if (settingsWindow_) {
        const QStringList& flagKeys = storage::flagKeys();
        const std::array<QCheckBox*, 6> boxes = settingsWindow_->checkBoxes();
        for (int i = 0; i < flagKeys.size(); ++i)
            entries.append({flagKeys.at(i), boxes[static_cast<size_t>(i)]->isChecked()
                                                ? QStringLiteral("1")
                                                : QStringLiteral("0")});
    }
    settingsFile->writeStrings(storage::kSettingsSection, entries);
}

void MainWindow::chooseWindowColour() {
    static bool customColoursSet = false;
    if (!customColoursSet) {
        // The sixteen custom colour slots start white in every run.
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, Qt::white);
        customColoursSet = true;
    }
    const std::optional<QColor> colour = dialogs_.chooseColour(this, lastChosenColour_);
    if (!colour)
        return;
    lastChosenColour_ = *colour;
    const int value = valueOfColour(*colour);
    for (int i = 0; i < 10; ++i)
        setColourValue(i, value);
}
