#pragma once

#include "app/Dialogs.h"
#include "batch/TextGrid.h"
#include "chemistry/RawMaterialLibrary.h"
#include "storage/AtomicFile.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;
class StringGrid;

// "Справочник сырья": the user's library of raw materials (Data/RawMaterials.csv), each given by
// its formula or by its analysis, edited in place and saved as a whole. The window reads the file
// each time it is opened without unsaved edits; closing it with unsaved edits asks whether to save
// them. Every edit is checked at once with the checks and messages of the file reader; saving
// and exporting refuse what the reader would refuse. Saving over a file another program has
// changed since the window read it asks first.
class MaterialsWindow : public QWidget {
    Q_OBJECT
public:
    explicit MaterialsWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~MaterialsWindow() override;

    void present();

    // The materials as edited, in their order, and the one chosen in the list (-1: none).
    const std::vector<chemistry::RawMaterialTexts>& materials() const { return materials_; }
    int chosen() const { return chosen_; }
    bool hasUnsavedEdits() const { return unsaved_; }

    // The rows of the analysis table: the oxide columns of the library file, then the other
    // glass oxides of the program.
    batch::TextGrid analysisTable;

    // The controls; each carries the objectName given where it is made.
    QListWidget* materialsList = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* formulaEdit = nullptr;
    QLineEdit* purityEdit = nullptr;
    QLineEdit* moistureEdit = nullptr;
    QLineEdit* priceEdit = nullptr;
    QLineEdit* lossOnIgnitionEdit = nullptr;
    QLineEdit* carbonDioxideEdit = nullptr;
    StringGrid* analysisGrid = nullptr;
    QLabel* checkLabel = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* deleteButton = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* importButton = nullptr;
    QPushButton* exportButton = nullptr;
    QStatusBar* hintBar = nullptr;

    // The commands of the window's buttons.
    void addMaterial();
    void copyMaterial();
    void deleteMaterial();
    // Writes the library file; false when the user kept a damaged file instead.
    bool saveLibrary();
    void importMaterials();
    void exportLibrary();
    void chooseMaterial(int index);

signals:
    // The library file has been written: the composition window reads it again.
    void librarySaved();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildListBox();
    QWidget* buildMaterialBox();
    QWidget* buildAnalysisBox();
    QLineEdit* field(const QString& name, const QString& hint, QString chemistry::RawMaterialTexts::*text);
    QPushButton* commandButton(const QString& name, const QString& caption, const QString& hint,
                               const std::function<void()>& handler);
    void guarded(const std::function<void()>& handler);

    void readLibrary();
    void showLibrary(const chemistry::RawMaterialLibrary& library, const QString& chosenName);
    void layOutAnalysisRows();
    void showChosen();
    void materialEdited();
    void analysisEdited(int column);
    void checkChosen();
    // The library as edited, each material checked on the line it gets in the file; the first
    // material at fault is chosen and its failure thrown.
    chemistry::RawMaterialLibrary libraryAsEdited();

    Dialogs& dialogs_;
    QObject* hints_ = nullptr;
    bool placed_ = false;
    std::vector<chemistry::RawMaterialTexts> materials_;
    QStringList oxideColumns_; // of the file, kept so that saving keeps its layout
    QStringList analysisOxides_;
    int chosen_ = -1;
    bool unsaved_ = false;
    // The file was there but could not be read: saving over it asks first.
    bool damagedFile_ = false;
    // The file as this window last read or wrote it: saving over another program's changes asks.
    std::optional<storage::FileStamp> fileStamp_;
    // Fields and table are being filled by the window, not edited.
    bool showing_ = false;
    QString lastFileName_;
};
