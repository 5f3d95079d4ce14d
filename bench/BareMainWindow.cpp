// A bare Qt main window with the controls of the program's main window and nothing else: the
// same numbers of keys, fields, lists (with their numbers of items), tables (with their sizes),
// menus, menu items, toolbar buttons and a status bar, at the same window size. Nothing is
// computed, nothing is read from disk, no other window is made. bench/measure-startup-ratio
// starts it in turn with the program to tell what the program's own work adds to its start.
//   BareMainWindow            shows the window and runs until it is closed
//   BareMainWindow --census   prints its controls by kind (bench/WidgetCensus.h) and ends
#include "WidgetCensus.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <cstring>

namespace {

QPushButton* key(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

QGroupBox* box(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(geometry);
    return group;
}

QTableView* table(QWidget* parent, int columns, int rows, bool headerRow, const QRect& geometry) {
    auto* view = new QTableView(parent);
    auto* model = new QStandardItemModel(rows, columns, view);
    view->setModel(model);
    view->setGeometry(geometry);
    // The program's tables use the condensed cut of the window's face.
    QFont condensed;
    condensed.setStretch(QFont::Condensed);
    view->setFont(condensed);
    view->horizontalHeader()->setFont(condensed);
    view->verticalHeader()->setFont(condensed);
    view->horizontalHeader()->setDefaultSectionSize(65);
    view->verticalHeader()->setDefaultSectionSize(24);
    if (headerRow)
        view->verticalHeader()->hide();
    else
        view->horizontalHeader()->hide();
    return view;
}

class BareWindow : public QMainWindow {
public:
    BareWindow() {
        setWindowTitle(QStringLiteral("Голое окно"));
        QFont baseFont = font();
        baseFont.setFamily(QStringLiteral("DejaVu Sans"));
        baseFont.setPointSize(8);
        setFont(baseFont);
        buildMenu();
        buildToolBar();

        auto* central = new QWidget(this);
        auto* columns = new QHBoxLayout(central);
        columns->setContentsMargins(0, 0, 0, 0);
        columns->setSpacing(0);
        columns->addWidget(leftColumn());
        columns->addWidget(middleColumn(), 1);
        columns->addWidget(rightColumn());
        setCentralWidget(central);

        auto* status = new QStatusBar(this);
        status->setFixedHeight(19);
        status->setSizeGripEnabled(false);
        setStatusBar(status);
        // The program's window has its 100 ms refresh; this one ticks and does nothing.
        auto* timer = new QTimer(this);
        timer->setInterval(100);
        timer->start();

        resize(1137, 807);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }

private:
    void buildMenu() {
        QMenuBar* bar = menuBar();
        const auto items = [](QMenu* menu, int count) {
            for (int i = 1; i <= count; ++i)
                menu->addAction(QStringLiteral("Команда %1").arg(i));
        };
        QMenu* file = bar->addMenu(QStringLiteral("Файл"));
        items(file, 3);
        file->addSeparator();
        items(file, 3);
        file->addSeparator();
        items(file, 1);
        file->addSeparator();
        items(file, 1);
        QMenu* calculation = bar->addMenu(QStringLiteral("Расчёт"));
        items(calculation, 2);
        calculation->addSeparator();
        items(calculation, 1);
        calculation->addSeparator();
        items(calculation, 1);
        calculation->addSeparator();
        items(calculation, 1);
        QMenu* settings = bar->addMenu(QStringLiteral("Настройки"));
        items(settings, 1);
        QMenu* ticks = settings->addMenu(QStringLiteral("Панель управления"));
        for (int i = 1; i <= 8; ++i) {
            QAction* tick = ticks->addAction(QStringLiteral("Кнопка %1").arg(i));
            tick->setCheckable(true);
            tick->setChecked(true);
        }
        settings->addSeparator();
        items(settings, 1);
        QMenu* help = bar->addMenu(QStringLiteral("Помощь"));
        items(help, 2);
    }

    void buildToolBar() {
        auto* bar = new QToolBar(this);
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setFixedHeight(41);
        bar->setIconSize(QSize(16, 16));
        addToolBar(Qt::TopToolBarArea, bar);
        const bool separatorAfter[8] = {false, true, false, true, true, true, false, false};
        for (int i = 0; i < 8; ++i) {
            auto* button = new QToolButton(bar);
            // An icon drawn in memory: the style's standard icons would read the icon theme.
            QPixmap icon(16, 16);
            icon.fill(QColor::fromHsv(45 * i, 200, 200));
            button->setIcon(QIcon(icon));
            button->setFixedSize(36, 36);
            button->setAutoRaise(true);
            button->setToolTip(QStringLiteral("Кнопка %1").arg(i + 1));
            bar->addWidget(button);
            if (separatorAfter[i])
                bar->addSeparator();
        }
    }

    QWidget* leftColumn() {
        auto* panel = new QWidget(this);
        panel->setFixedWidth(513);
        panel->setAutoFillBackground(true);
        QGroupBox* keyboard = box(panel, QStringLiteral("Клавиатура :"), QRect(4, 2, 505, 340));
        for (int i = 0; i < 111; ++i)
            key(keyboard, QStringLiteral("K%1").arg(i + 1),
                QRect(8 + 32 * (i % 15), 16 + 24 * (i / 15), 33, 25));

        QGroupBox* options = box(panel, QStringLiteral("Опции :"), QRect(4, 346, 505, 82));
        QGroupBox* digits = box(options, QStringLiteral("Цифры :"), QRect(8, 18, 344, 58));
        auto* digitPanel = new QWidget(digits);
        digitPanel->setGeometry(6, 20, 332, 32);
        for (int digit = 0; digit < 10; ++digit)
            key(digitPanel, QString::number(digit), QRect(2 + 33 * digit, 3, 30, 26));
        QGroupBox* symbols = box(options, QStringLiteral("Символы :"), QRect(358, 18, 139, 58));
        key(symbols, QStringLiteral("X"), QRect(8, 23, 30, 28));
        key(symbols, QStringLiteral("H2O"), QRect(42, 23, 50, 28));
        key(symbols, QStringLiteral("+"), QRect(96, 23, 30, 28));

        for (int i = 0; i < 4; ++i) {
            QGroupBox* field =
                box(panel, QStringLiteral("Поле %1 :").arg(i + 1), QRect(4, 434 + 54 * i, 330, 50));
            auto* edit = new QLineEdit(field);
            edit->setGeometry(10, 20, i == 0 ? 310 : 250, 22);
            if (i > 0)
                (new QLabel(QStringLiteral("ед."), field))->setGeometry(268, 22, 56, 18);
        }
        for (int i = 0; i < 3; ++i) {
            QPushButton* command =
                key(panel, QStringLiteral("Команда %1").arg(i + 1), QRect(344, 496 + 50 * i, 165, 44));
            QFont bold = command->font();
            bold.setBold(true);
            command->setFont(bold);
            command->setEnabled(false);
        }
        return panel;
    }

    QWidget* middleColumn() {
        auto* panel = new QWidget(this);
        panel->setAutoFillBackground(true);
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        QGroupBox* lists = box(panel, QStringLiteral("Списки :"), QRect(0, 2, 225, 380));
        const int itemCounts[6] = {27, 16, 14, 5, 6, 13};
        for (int i = 0; i < 6; ++i) {
            QGroupBox* group =
                box(lists, QStringLiteral("Список %1 :").arg(i + 1), QRect(8, 20 + 52 * i, 209, 48));
            auto* combo = new QComboBox(group);
            combo->setGeometry(8, 18, 193, 22);
            for (int item = 0; item < itemCounts[i]; ++item)
                combo->addItem(QStringLiteral("Строка %1").arg(item));
            combo->setMaxVisibleItems(30);
        }
        key(lists, QStringLiteral("Выбрать"), QRect(8, 338, 209, 32));
        return panel;
    }

    QWidget* rightColumn() {
        auto* panel = new QWidget(this);
        panel->setFixedWidth(362);
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(2, 2, 2, 2);
        auto* tabs = new QTabWidget(panel);
        for (int t = 0; t < 2; ++t) {
            auto* tab = new QWidget;
            table(tab, 5, 19, true, QRect(8, 8, 333, 505));
            table(tab, 1, 2, false, QRect(8, 556, 333, 54));
            for (int i = 0; i < 3; ++i)
                key(tab, QStringLiteral("Команда %1").arg(i + 1), QRect(8 + 112 * i, 521, 109, 27));
            tabs->addTab(tab, QStringLiteral("Вкладка %1").arg(t + 1));
        }
        layout->addWidget(tabs);
        return panel;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    BareWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--census") == 0) {
        printWidgetCensus(window);
        return 0;
    }
    window.show();
    return QApplication::exec();
}
