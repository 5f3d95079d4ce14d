#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window "О программе": the picture of broken glass with the program's title, the
// "ОК" button and the credits. It is shown without blocking the main window and closing it only
// hides it.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // Shows the window; when it is already shown it is only brought forward.
    void present();

    QLabel* picture = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* okButton = nullptr; // hides the window
    QLabel* authorsLabel = nullptr;
    QLabel* purposeLabel = nullptr;
    QLabel* copyrightLabel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
