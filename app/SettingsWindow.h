#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;

// The settings window "Настройки программы". Its six check boxes say how the two substance
// tables of the main window behave; the main window's refresh reads them every 100 ms, and the
// settings file stores them between runs.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(QWidget* parent = nullptr);

    // Shows the window without blocking the main window; when it is already shown it is only
    // brought forward.
    void present();

    // The six boxes in the order of their settings keys.
    std::array<QCheckBox*, 6> checkBoxes() const;

    QGroupBox* tableOptionsBox = nullptr;
    QCheckBox* cellEditingCheckBox = nullptr;
    QCheckBox* rowSelectionCheckBox = nullptr;
    QCheckBox* horizontalLinesCheckBox = nullptr;
    QCheckBox* columnSizingCheckBox = nullptr; // column widths by dragging
    QCheckBox* rowSizingCheckBox = nullptr;    // row heights by dragging
    QCheckBox* verticalLinesCheckBox = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
