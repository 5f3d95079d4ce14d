#include "app/HintFilter.h"

#include <QEvent>
#include <QWidget>

HintFilter::HintFilter(QStatusBar* statusBar, QObject* parent) : QObject(parent), statusBar_(statusBar) {}

QString HintFilter::hintOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const QString tip = widget->statusTip();
        if (!tip.isEmpty()) {
            const qsizetype bar = tip.indexOf(QLatin1Char('|'));
            return bar >= 0 ? tip.mid(bar + 1) : tip;
        }
        if (widget->isWindow())
            break;
    }
    return {};
}

void HintFilter::showHint(const QString& hint) {
    if (!statusBar_ || statusBar_->currentMessage() == hint)
        return;
    if (hint.isEmpty())
        statusBar_->clearMessage();
    else
        statusBar_->showMessage(hint);
}

bool HintFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        if (auto* widget = qobject_cast<QWidget*>(watched))
            showHint(hintOf(widget));
        break;
    case QEvent::Leave:
        // Leaving a control returns the pointer to its parent (or out of the window).
        if (auto* widget = qobject_cast<QWidget*>(watched))
            showHint(widget->isWindow() ? QString() : hintOf(widget->parentWidget()));
        break;
    case QEvent::StatusTip:
        // Our own rule decides what the status bar shows.
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

WindowHintFilter::WindowHintFilter(QStatusBar* statusBar, QWidget* window)
    : HintFilter(statusBar, window), window_(window) {}

bool WindowHintFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    HintFilter::eventFilter(watched, event);
    return false;
}
