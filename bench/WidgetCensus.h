#pragma once

// Counts the controls of a window by kind, so that the bare window of bench/BareMainWindow.cpp can
// be checked against the program's main window (bench/measure-startup-ratio compares the two).
#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <cstdio>

inline void printWidgetCensus(const QWidget& window) {
    const auto count = [&window](auto* kind) {
        using Kind = std::remove_pointer_t<decltype(kind)>;
        return static_cast<int>(window.findChildren<Kind*>().size());
    };
    std::printf("widgets %d\n", count(static_cast<QWidget*>(nullptr)));
    std::printf("push buttons %d\n", count(static_cast<QPushButton*>(nullptr)));
    std::printf("tool buttons %d\n", count(static_cast<QToolButton*>(nullptr)));
    std::printf("line edits %d\n", count(static_cast<QLineEdit*>(nullptr)));
    std::printf("labels %d\n", count(static_cast<QLabel*>(nullptr)));
    std::printf("group boxes %d\n", count(static_cast<QGroupBox*>(nullptr)));
    std::printf("tab widgets %d\n", count(static_cast<QTabWidget*>(nullptr)));
    std::printf("menus %d\n", count(static_cast<QMenu*>(nullptr)));
    std::printf("actions %d\n", count(static_cast<QAction*>(nullptr)));
    std::printf("tool bars %d\n", count(static_cast<QToolBar*>(nullptr)));
    std::printf("status bars %d\n", count(static_cast<QStatusBar*>(nullptr)));
    std::printf("timers %d\n", count(static_cast<QTimer*>(nullptr)));
    for (const QComboBox* combo : window.findChildren<QComboBox*>())
        std::printf("combo box of %d items\n", combo->count());
    for (const QTableView* table : window.findChildren<QTableView*>())
        std::printf("table of %d x %d cells, %d x %d pixels\n", table->model()->columnCount(),
                    table->model()->rowCount(), table->width(), table->height());
}
