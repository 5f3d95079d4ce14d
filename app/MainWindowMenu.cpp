// The main window's menu and toolbar: every item and button names the command it runs, and the
// toolbar buttons run the commands of their menu items.
#include "app/MainWindow.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto item = [this](QMenu* menu, const QString& name, const QString& caption, Command command) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (command)
            runOn(action, &QAction::triggered, command);
        return action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("N1"));
    item(file, QStringLiteral("N16"), QStringLiteral("Загрузить файл..."), &MainWindow::loadCalculation);
    item(file, QStringLiteral("N17"), QStringLiteral("Сохранить файл..."), &MainWindow::saveCalculation);
    item(file, QStringLiteral("N40"), QStringLiteral("Экспортировать в Excel..."),
         &MainWindow::exportActiveTableToSpreadsheet);
    file->addSeparator();
    item(file, QStringLiteral("pdf1"), QStringLiteral("Сохранить таблицу как..."),
         &MainWindow::saveTablePicture);
    item(file, QStringLiteral("Cj1"), QStringLiteral("Сохранить данные в Word..."),
         &MainWindow::exportTablePictureToWordProcessor);
    item(file, QStringLiteral("N18"), QStringLiteral("Сделать скриншот"), &MainWindow::takeScreenshot);
    file->addSeparator();
    item(file, QStringLiteral("N19"), QStringLiteral("Новые расчёты"), &MainWindow::clearAll);
    file->addSeparator();
    item(file, QStringLiteral("N20"), QStringLiteral("Выход"), &MainWindow::askToExit);

    QMenu* calculation = bar->addMenu(QStringLiteral("Расчёт"));
    calculation->setObjectName(QStringLiteral("N2"));
    item(calculation, QStringLiteral("N12"), QStringLiteral("Рассчитать активную вкладку"),
         &MainWindow::calculateActiveTab);
    item(calculation, QStringLiteral("N11"), QStringLiteral("Рассчитать всё"), &MainWindow::calculateAll);
    calculation->addSeparator();
    item(calculation, QStringLiteral("N29"), QStringLiteral("Очистить всё"), &MainWindow::clearAll);
    calculation->addSeparator();
    item(calculation, QStringLiteral("N9"), QStringLiteral("Анализ навесок"),
         &MainWindow::showAnalysisWindow);
    calculation->addSeparator();
    item(calculation, QStringLiteral("N41"), QStringLiteral("Шихта по составу стекла"),
         &MainWindow::showGlassWindow);

    QMenu* settings = bar->addMenu(QStringLiteral("Настройки"));
    settings->setObjectName(QStringLiteral("N3"));
    item(settings, QStringLiteral("N8"), QStringLiteral("Цвет окна"), &MainWindow::chooseWindowColour);
    QMenu* toolbarMenu = settings->addMenu(QStringLiteral("Панель управления"));
    toolbarMenu->setObjectName(QStringLiteral("N31"));
    const QString tickCaptions[8] = {
        QStringLiteral("Загрузить файл"),
        QStringLiteral("Сохранить файл"),
        QStringLiteral("Рассчитать активную вкладку"),
        QStringLiteral("Очистить всё"),
        QStringLiteral("Сохранить данные в Word..."),
        QStringLiteral("Сохранить таблицу как..."),
        QStringLiteral("Настройки программы"),
        QStringLiteral("Справка"),
    };
    for (int i = 0; i < 8; ++i) {
        // A checkable item flips its own tick when chosen; the refresh shows or hides its button.
        QAction* tick = item(toolbarMenu, QStringLiteral("N%1").arg(32 + i), tickCaptions[i], nullptr);
        tick->setCheckable(true);
        tick->setChecked(true);
        toolbarTicks[static_cast<size_t>(i)] = tick;
    }
    settings->addSeparator();
    item(settings, QStringLiteral("N10"), QStringLiteral("Расчет"), &MainWindow::showSettingsWindow);

    QMenu* help = bar->addMenu(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("N4"));
    QAction* guide = item(help, QStringLiteral("N6"), QStringLiteral("Справка"), &MainWindow::openHelp);
    guide->setShortcut(QKeySequence(Qt::Key_F1)); // F1 anywhere in the main window
    item(help, QStringLiteral("N7"), QStringLiteral("О программе"), &MainWindow::showAboutWindow);
}

void MainWindow::buildToolBar() {
    toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setFixedHeight(41);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, toolBar);

    // The buttons are "ToolButton1" to "ToolButton8", each giving the command of a menu item.
    struct Entry {
        const char* icon;
        const char* hint;
        Command command;
        bool separatorAfter;
    };
    const Entry entries[8] = {
        {"load", "Загрузить   Файл", &MainWindow::loadCalculation, false},
        {"save", "Сохранить   Файл", &MainWindow::saveCalculation, true},
        {"calculator", "Рассчитать активную вкладку", &MainWindow::calculateActiveTab, false},
        {"broom", "Очистить всё", &MainWindow::clearAll, true},
        {"word", "Сохранить данные в Word", &MainWindow::exportTablePictureToWordProcessor, true},
        {"table", "Сохранить таблицу", &MainWindow::saveTablePicture, true},
        {"gear", "Настройки расчетов", &MainWindow::showSettingsWindow, false},
        {"help", "Вызов справки", &MainWindow::openHelp, false},
    };
    for (int i = 0; i < 8; ++i) {
        const Entry& entry = entries[i];
        auto* toolButton = new QToolButton(toolBar);
        toolButton->setObjectName(QStringLiteral("ToolButton%1").arg(i + 1));
        toolButton->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(entry.icon))));
        toolButton->setFixedSize(36, 36);
        toolButton->setAutoRaise(true);
        const QString hint = QString::fromUtf8(entry.hint);
        toolButton->setToolTip(hint);
        toolButton->setStatusTip(hint + QLatin1Char('|') + hint);
        runOn(toolButton, &QToolButton::clicked, entry.command);
        toolButtons[static_cast<size_t>(i)] = toolButton;
        toolButtonActions[static_cast<size_t>(i)] = toolBar->addWidget(toolButton);
        if (entry.separatorAfter)
            toolBar->addSeparator();
    }
}
