#pragma once

#include <QWidget>

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

    QGroupBox* GroupBox2;
    QCheckBox* CheckBox1; // cell editing
    QCheckBox* CheckBox2; // whole-row selection
    QCheckBox* CheckBox3; // horizontal lines
    QCheckBox* CheckBox4; // column widths by dragging
    QCheckBox* CheckBox5; // row heights by dragging
    QCheckBox* CheckBox6; // vertical lines

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
