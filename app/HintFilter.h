#pragma once

#include <QObject>
#include <QPointer>
#include <QStatusBar>

// The status bar shows the hint of the control under the mouse pointer, or of its nearest
// enclosing control that has one, for every window of the program. A control's hint is its
// statusTip; a hint of the form "short|long" shows its long part.
class HintFilter : public QObject {
    Q_OBJECT
public:
    explicit HintFilter(QStatusBar* statusBar, QObject* parent = nullptr);

    static QString hintOf(const QWidget* widget);
    // Applies the hint rule: simple text exactly while the hint is non-empty.
    void showHint(const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QStatusBar> statusBar_;
};

// The hints of one window's controls only, into that window's own status bar; installed
// application-wide beside the main window's filter, which it leaves to do its own work.
class WindowHintFilter : public HintFilter {
    Q_OBJECT
public:
    WindowHintFilter(QStatusBar* statusBar, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};
