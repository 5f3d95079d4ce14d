// Makes the pictures of the user guide from the program's real windows: it creates the windows
// as the program does, runs the guide's worked examples through the real commands, checks that
// the program gives the figures the guide quotes, and saves what the windows show.
//   veltrona-help-pictures <folder for the pictures>
// Run it under an X server with a window manager (scripts/make-help-pictures does), so that the
// whole-window pictures show their frames and captions.
#include "app/Application.h"
#include "app/GlassPropertiesPanel.h"
#include "app/GlassWindow.h"
#include "app/MaterialsWindow.h"
#include "app/StringGrid.h"
#include "app/TextGridModel.h"
#include "batch/NumberText.h"
#include "storage/DataRoot.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

QString gFolder;
int gFaults = 0;

void pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void save(const QPixmap& picture, const char* name) {
    const QString path = QDir(gFolder).filePath(QString::fromLatin1(name));
    if (picture.isNull() || !picture.save(path, "PNG")) {
        std::fprintf(stderr, "veltrona-help-pictures: could not save %s\n", qPrintable(path));
        ++gFaults;
        return;
    }
    std::printf("veltrona-help-pictures: %s (%dx%d)\n", name, picture.width(), picture.height());
}

// A window as it stands on the screen, with the frame and caption of the window manager.
QPixmap onScreen(QWidget* window) {
    const QRect frame = window->frameGeometry();
    return window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

void expect(const QString& actual, const char* expected, const char* what) {
    if (actual != QString::fromUtf8(expected)) {
        std::fprintf(stderr, "veltrona-help-pictures: %s is \"%s\", the guide says \"%s\"\n", what,
                     qPrintable(actual), expected);
        ++gFaults;
    }
}

// The program's dialogs; a message shows in the real message window only when asked for, so
// that a worked example that shows one where the guide expects none is caught.
class PictureDialogs : public QtDialogs {
public:
    bool showMessages = false;
    void showMessage(QWidget* owner, const QString& text) override {
        if (showMessages)
            return QtDialogs::showMessage(owner, text);
        std::fprintf(stderr, "veltrona-help-pictures: unexpected message \"%s\"\n", qPrintable(text));
        ++gFaults;
    }
    void showFailure(QWidget*, const QString& text) override {
        std::fprintf(stderr, "veltrona-help-pictures: unexpected failure \"%s\"\n", qPrintable(text));
        ++gFaults;
    }
};

class Driver {
public:
    explicit Driver(MainWindow& mainWindow) : mainWindow_(mainWindow) {}

    void click(const char* name) {
        auto* button = mainWindow_.findChild<QAbstractButton*>(QString::fromLatin1(name));
        if (!button) {
            std::fprintf(stderr, "veltrona-help-pictures: no control %s\n", name);
            std::exit(1);
        }
        button->click();
        pause(150); // the refresh enables the digit and symbol keys
    }
    void element(const char* symbol) {
        for (QPushButton* key : mainWindow_.elementKeys)
            if (key->text() == QLatin1String(symbol)) {
                key->click();
                pause(150);
                return;
            }
        std::fprintf(stderr, "veltrona-help-pictures: no element key %s\n", symbol);
        std::exit(1);
    }
    void choose(int list, const char* item) {
        QComboBox* combo = mainWindow_.catalogueLists[static_cast<size_t>(list - 1)];
        const int index = combo->findText(QString::fromUtf8(item));
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void add(int list, const char* item, const char* fraction, const char* total) {
        choose(list, item);
        click("Button114");
        if (fraction)
            mainWindow_.moleFractionEdit->setText(QString::fromUtf8(fraction));
        if (total)
            mainWindow_.totalMassEdit->setText(QString::fromUtf8(total));
        click("SpeedButton4");
    }
    void type(StringGrid* grid, int column, int row, const char* text) {
        TextGridModel* model = grid->textModel();
        model->setData(model->indexForCell(column, row), QString::fromUtf8(text), Qt::EditRole);
    }

private:
    MainWindow& mainWindow_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The pictures show the program, whose message windows carry the title of its executable.
    setApplicationTitle(QStringLiteral("Veltrona"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrona-help-pictures <folder for the pictures>\n");
        return 2;
    }
    gFolder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(gFolder);
    QTranslator translator;
    if (translator.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    batch::readDecimalSeparatorFromSystem();
    QApplication::setQuitOnLastWindowClosed(false);
    // The program's files in a folder of the picture maker's own, with the starter raw-materials
    // library of the source tree: the pictures never show a user's settings or library.
    QTemporaryDir dataRoot;
    if (!dataRoot.isValid() || !QDir(dataRoot.path()).mkpath(QStringLiteral("Data")) ||
        !QFile::copy(QStringLiteral(VELTRONA_SOURCE_DIR "/data/RawMaterials.csv"),
                     dataRoot.filePath(QStringLiteral("Data/RawMaterials.csv")))) {
        std::fprintf(stderr, "veltrona-help-pictures: could not prepare a data folder\n");
        return 1;
    }
    storage::setDataRoot(dataRoot.path());

    PictureDialogs dialogs;
    ProgramWindows windows(dialogs);
    MainWindow& mainWindow = windows.mainWindow;
    mainWindow.show();
    pause(800);
    Driver drive(mainWindow);

    // Borax on the keyboard: Na, 2, B, 4, O, 7, X, 1, 0, water, "Вычислить".
    for (const char* key : {"Na", "2", "B", "4", "O", "7", "X", "1", "0", "water"}) {
        const QString k = QString::fromLatin1(key);
        if (k == QLatin1String("X"))
            drive.click("Button119");
        else if (k == QLatin1String("water"))
            drive.click("SpeedButton5");
        else if (k == QLatin1String("0"))
            drive.click("SpeedButton3");
        else if (k.at(0).isDigit())
            drive.click(qPrintable(QStringLiteral("btn") + k));
        else
            drive.element(key);
    }
    drive.click("btnCalc");
    expect(mainWindow.formulaEdit->text(), "Na2B4O7x10H2O", "the borax formula");
    expect(mainWindow.molarMassEdit->text(), "381,3688", "the borax molar mass");
    pause(200);
    // The left column down to its last group; the column's empty foot stays out.
    const int foot =
        qMax(mainWindow.totalMassBox->geometry().bottom(), mainWindow.clearEntryButton->geometry().bottom()) +
        8;
    save(mainWindow.entryPanel->grab(QRect(0, 0, mainWindow.entryPanel->width(), foot)), "formula.png");
    drive.click("btnClear");

    // The batch of the guide: SiO2 75 % and Na2O 25 % at 100 g.
    drive.choose(1, "1. SiO2");
    pause(200);
    save(mainWindow.catalogueBox->grab(), "catalogue.png");
    drive.add(1, "1. SiO2", "75", "100");
    drive.add(1, "9. Na2O", "25", nullptr);
    drive.click("Button112");
    expect(mainWindow.batchTable.cell(4, 1), "74,4135", "the SiO2 portion");
    expect(mainWindow.batchTable.cell(4, 2), "25,5865", "the Na2O portion");
    expect(mainWindow.batchSummary.cell(1, 0), "75,0 SiO2-25,0 Na2O", "the mole-percent line");
    expect(mainWindow.batchSummary.cell(1, 1), "74,41 SiO2-25,59 Na2O", "the weight line");
    pause(300);
    save(onScreen(&mainWindow), "main-window.png");
    save(mainWindow.tablePanel->grab(), "batch.png");
    const QRect help = mainWindow.toolButtons[7]->geometry(); // the last button, "Вызов справки"
    save(mainWindow.toolBar->grab(QRect(0, 0, help.right() + 8, mainWindow.toolBar->height())),
         "toolbar.png");

    // The diagram of that batch, once the analysis window has its "Рассчитать" (N3); until then
    // the guide's diagram page goes without a picture.
    if (auto* draw = windows.analysisWindow().findChild<QAction*>(QStringLiteral("N3"))) {
        mainWindow.findChild<QAction*>(QStringLiteral("N9"))->trigger();
        pause(300);
        draw->trigger();
        pause(500);
        save(onScreen(&windows.analysisWindow()), "diagram.png");
        windows.analysisWindow().close();
        pause(200);
    } else {
        std::printf(
            "veltrona-help-pictures: diagram.png skipped, the analysis window has no \"Рассчитать\" yet\n");
    }

    // The glass of the guide: container glass, 100 g, from the menu item "Шихта по составу стекла".
    mainWindow.findChild<QAction*>(QStringLiteral("N41"))->trigger();
    pause(300);
    GlassWindow& glass = windows.glassWindow();
    const char* composition[][3] = {{"SiO2", "72", "SiO2"},   {"Al2O3", "2", "Al(OH)3"},
                                    {"CaO", "8", "CaCO3"},    {"MgO", "3", "CaMg(CO3)2"},
                                    {"Na2O", "14", "Na2CO3"}, {"K2O", "1", "K2CO3"}};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 3; ++c)
            drive.type(glass.compositionGrid, c, r + 1, composition[r][c]);
    glass.calculateBatchButton->click();
    pause(300);
    const char* grams[] = {"72,0000", "3,0601", "6,8281", "13,7257", "23,9408", "1,4672"};
    for (int r = 0; r < 6; ++r)
        expect(glass.resultTable.cell(1, r + 1), grams[r], "a raw material of the container glass");
    expect(glass.summaryTable.cell(1, 0), "121,0219", "the container-glass batch");
    expect(glass.summaryTable.cell(1, 4), "82,6296", "the glass yield");
    save(onScreen(&glass), "glass.png");

    // The properties of that glass on their own page: the table and the viscosity curve.
    glass.glassTabs->setCurrentWidget(glass.propertiesPanel);
    pause(300);
    const char* values[] = {"2,489", "93,6", "1,5178", "1467", "1035", "726", "722", "546", "545", "517"};
    for (int r = 0; r < 10; ++r)
        expect(glass.propertiesPanel->propertiesTable.cell(1, r + 1), values[r],
               "a property of the container glass");
    save(onScreen(&glass), "properties.png");
    glass.glassTabs->setCurrentIndex(0);

    // The same glass with sand and dolomite of the starter library, given by their analyses.
    drive.type(glass.compositionGrid, 2, 1, "Песок (пример)");
    drive.type(glass.compositionGrid, 2, 4, "Доломит (пример)");
    glass.calculateBatchButton->click();
    pause(300);
    const char* plantGrams[][2] = {{"76,0972", "72,2923"}, {"2,7966", "2,7966"},   {"6,6481", "6,6481"},
                                   {"13,8249", "13,8249"}, {"23,9408", "23,9408"}, {"1,4672", "1,4672"}};
    for (int r = 0; r < 6; ++r) {
        expect(glass.resultTable.cell(1, r + 1), plantGrams[r][0], "a raw material as weighed");
        expect(glass.resultTable.cell(2, r + 1), plantGrams[r][1], "a raw material dry");
    }
    expect(glass.glassOxidesTable.cell(0, 7), "Fe2O3", "the oxide on top of the composition");
    expect(glass.glassOxidesTable.cell(1, 1), "71,9640", "the SiO2 of the glass");
    expect(glass.summaryTable.cell(1, 0), "124,7748", "the batch from library materials");
    expect(glass.summaryTable.cell(1, 2), "100,0500", "the glass from that batch");
    expect(glass.summaryTable.cell(1, 5), "Fe2O3 0,0499 %", "the oxides on top of the composition");
    expect(glass.summaryTable.cell(1, 6), "198,05", "the CO2 per tonne of glass");
    save(onScreen(&glass), "glass-library.png");

    // The library window with the sand's analysis.
    glass.materialsButton->click();
    pause(500);
    MaterialsWindow& materials = windows.materialsWindow();
    const QList<QListWidgetItem*> sand =
        materials.materialsList->findItems(QStringLiteral("Песок (пример)"), Qt::MatchExactly);
    if (sand.size() == 1) {
        materials.materialsList->setCurrentItem(sand.front());
        materials.materialsList->scrollToItem(sand.front(), QAbstractItemView::PositionAtCenter);
    }
    expect(materials.nameEdit->text(), "Песок (пример)", "the material chosen in the library");
    expect(materials.analysisTable.cell(1, 0), "99,5", "the sand's SiO2");
    pause(300);
    save(onScreen(&materials), "materials.png");
    materials.close();
    glass.close();
    pause(200);

    // The conversion of the guide: SiO2 75 % and Na2O 25 % by mass.
    mainWindow.tableTabs->setCurrentIndex(1);
    pause(200);
    drive.add(1, "1. SiO2", nullptr, nullptr);
    drive.add(1, "9. Na2O", nullptr, nullptr);
    drive.type(mainWindow.fractionGrid, 2, 1, "75");
    drive.type(mainWindow.fractionGrid, 2, 2, "25");
    drive.click("Button115");
    expect(mainWindow.fractionTable.cell(3, 1), "1,2482", "the SiO2 amount");
    expect(mainWindow.fractionTable.cell(3, 2), "0,4034", "the Na2O amount");
    expect(mainWindow.fractionTable.cell(4, 1), "75,5774", "the SiO2 mole fraction");
    expect(mainWindow.fractionTable.cell(4, 2), "24,4226", "the Na2O mole fraction");
    expect(mainWindow.fractionSummary.cell(1, 0), "75,58SiO2-24,42Na2O", "the mole-percent line");
    expect(mainWindow.fractionSummary.cell(1, 1), "75,0SiO2-25,0Na2O", "the mass-percent line");
    pause(300);
    save(mainWindow.tablePanel->grab(), "fractions.png");
    mainWindow.tableTabs->setCurrentIndex(0);

    // The settings window as it stands at first.
    drive.click("ToolButton7");
    pause(500);
    save(onScreen(&windows.settingsWindow), "settings.png");
    windows.settingsWindow.close();
    pause(200);

    // A message of the program in its real window: the total masses of rows 1 and 2 differ.
    drive.type(mainWindow.batchGrid, 3, 2, "100,5");
    dialogs.showMessages = true;
    QTimer::singleShot(700, [] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            save(onScreen(box), "message.png");
            if (auto* dialog = qobject_cast<QDialog*>(box))
                dialog->done(0);
        } else {
            std::fprintf(stderr, "veltrona-help-pictures: the message window did not show\n");
            ++gFaults;
        }
    });
    drive.click("Button112");
    dialogs.showMessages = false;

    mainWindow.hide();
    return gFaults == 0 ? 0 : 1;
}
