#pragma once

#include <QWidget>

// The analysis window "Анализ навесок": a tool window above all others that draws the bar
// diagram of the computed batch. Closing it only hides it.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // Shows the window without blocking the main window; when it is already shown it is only
    // brought forward.
    void present();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};
