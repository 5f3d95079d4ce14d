#include "app/MaterialsWindow.h"

#include "analysis/WindowPlacement.h"
#include "app/HintFilter.h"
#include "app/StringGrid.h"
#include "batch/Failure.h"
#include "chemistry/OxideYield.h"
#include "storage/DataRoot.h"
#include "storage/RawMaterialsFile.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const char* const kFileFilter = "Справочник сырья (*.csv)|*.csv";

// The line of the file a material gets when the library is written: the header is line 1.
int lineOf(size_t index) {
    return static_cast<int>(index) + 2;
}

QString sumText(batch::Extended sum) {
    return batch::generalText(sum, 10);
}

} // namespace

MaterialsWindow::MaterialsWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), analysisTable(2, static_cast<int>(chemistry::glassOxides().size())),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("FormMaterials"));
    setWindowTitle(QStringLiteral("Справочник сырья"));
    QFont baseFont = font();
    baseFont.setFamily(QStringLiteral("DejaVu Sans"));
    baseFont.setPointSize(8);
    setFont(baseFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(buildListBox(), 1);
    boxes->addWidget(buildMaterialBox());
    boxes->addWidget(buildAnalysisBox());
    layout->addLayout(boxes, 1);

    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    saveButton = commandButton(QStringLiteral("MaterialsSave"), QStringLiteral("Сохранить"),
                               QStringLiteral("Сохранить справочник в файл Data/RawMaterials.csv"),
                               [this] { saveLibrary(); });
    importButton = commandButton(QStringLiteral("MaterialsImport"), QStringLiteral("Импорт..."),
                                 QStringLiteral("Добавить сырьё из другого файла справочника (CSV)"),
                                 [this] { importMaterials(); });
    exportButton = commandButton(QStringLiteral("MaterialsExport"), QStringLiteral("Экспорт..."),
                                 QStringLiteral("Записать весь справочник в файл CSV по выбору"),
                                 [this] { exportLibrary(); });
    for (QPushButton* key : {importButton, exportButton, saveButton})
        commands->addWidget(key);
    layout->addLayout(commands);

    hintBar = new QStatusBar(this);
    hintBar->setObjectName(QStringLiteral("MaterialsStatusBar"));
    hintBar->setSizeGripEnabled(false);
    hintBar->setFixedHeight(19);
    layout->addWidget(hintBar);
    hints_ = new WindowHintFilter(hintBar, this);
    QCoreApplication::instance()->installEventFilter(hints_);

    layOutAnalysisRows();
    showChosen();
    resize(860, 560);
}

MaterialsWindow::~MaterialsWindow() {
    QCoreApplication::instance()->removeEventFilter(hints_);
}

QWidget* MaterialsWindow::buildListBox() {
    auto* box = new QGroupBox(QStringLiteral("Сырьё :"), this);
    box->setObjectName(QStringLiteral("MaterialsListBox"));
    auto* boxLayout = new QVBoxLayout(box);
    materialsList = new QListWidget(box);
    materialsList->setObjectName(QStringLiteral("MaterialsList"));
    materialsList->setStatusTip(QStringLiteral("Сырьё справочника; выберите его, чтобы увидеть и изменить"));
    connect(materialsList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!showing_)
            chooseMaterial(row);
    });
    boxLayout->addWidget(materialsList, 1);
    auto* keys = new QHBoxLayout;
    addButton =
        commandButton(QStringLiteral("MaterialAdd"), QStringLiteral("Добавить"),
                      QStringLiteral("Добавить новое сырьё в конец справочника"), [this] { addMaterial(); });
    copyButton = commandButton(QStringLiteral("MaterialCopy"), QStringLiteral("Копировать"),
                               QStringLiteral("Добавить копию выбранного сырья, например для новой партии"),
                               [this] { copyMaterial(); });
    deleteButton =
        commandButton(QStringLiteral("MaterialDelete"), QStringLiteral("Удалить"),
                      QStringLiteral("Удалить выбранное сырьё из справочника"), [this] { deleteMaterial(); });
    for (QPushButton* key : {addButton, copyButton, deleteButton}) {
        key->setParent(box);
        keys->addWidget(key);
    }
    boxLayout->addLayout(keys);
    return box;
}

QLineEdit* MaterialsWindow::field(const QString& name, const QString& hint,
                                  QString chemistry::RawMaterialTexts::*text) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setStatusTip(hint);
    connect(edit, &QLineEdit::textEdited, this, [this, text](const QString& typed) {
        if (showing_ || chosen_ < 0)
            return;
        materials_[static_cast<size_t>(chosen_)].*text = typed;
        materialEdited();
    });
    return edit;
}

QWidget* MaterialsWindow::buildMaterialBox() {
    auto* box = new QGroupBox(QStringLiteral("Выбранное сырьё :"), this);
    box->setObjectName(QStringLiteral("MaterialBox"));
    auto* form = new QFormLayout(box);
    using Texts = chemistry::RawMaterialTexts;
    nameEdit =
        field(QStringLiteral("MaterialName"),
              QStringLiteral("Название сырья, по которому его выбирают в окне «Шихта по составу стекла»"),
              &Texts::name);
    formulaEdit = field(QStringLiteral("MaterialFormula"),
                        QStringLiteral("Формула сырья (Na2CO3); пусто — сырьё задано химическим анализом"),
                        &Texts::formula);
    purityEdit = field(QStringLiteral("MaterialPurity"),
                       QStringLiteral("Доля основного вещества в сухом сырье, %; только для сырья с формулой "
                                      "(пусто — 100)"),
                       &Texts::purity);
    moistureEdit =
        field(QStringLiteral("MaterialMoisture"),
              QStringLiteral("Влажность сырья, как его привозят, %; в окне состава её можно заменить "
                             "для одной шихты"),
              &Texts::moisture);
    priceEdit =
        field(QStringLiteral("MaterialPrice"),
              QStringLiteral("Цена тонны сырья, как его привозят, руб (пусто — цены нет)"), &Texts::price);
    lossOnIgnitionEdit =
        field(QStringLiteral("MaterialLoi"),
              QStringLiteral("Потери при прокаливании (ППП), % сухого сырья; только для сырья с "
                             "анализом"),
              &Texts::lossOnIgnition);
    carbonDioxideEdit =
        field(QStringLiteral("MaterialCo2"),
              QStringLiteral("Часть ППП, которая уходит как CO2, % сухого сырья; остальное ППП — "
                             "вода"),
              &Texts::carbonDioxide);
    form->addRow(QStringLiteral("Название :"), nameEdit);
    form->addRow(QStringLiteral("Формула :"), formulaEdit);
    form->addRow(QStringLiteral("Чистота, % :"), purityEdit);
    form->addRow(QStringLiteral("Влажность, % :"), moistureEdit);
    form->addRow(QStringLiteral("Цена, руб/т :"), priceEdit);
    form->addRow(QStringLiteral("ППП, % :"), lossOnIgnitionEdit);
    form->addRow(QStringLiteral("CO2, % :"), carbonDioxideEdit);
    checkLabel = new QLabel(box);
    checkLabel->setObjectName(QStringLiteral("MaterialCheck"));
    checkLabel->setStatusTip(
        QStringLiteral("Проверка выбранного сырья, как при чтении и сохранении справочника"));
    checkLabel->setWordWrap(true);
    checkLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    checkLabel->setMinimumHeight(64);
    form->addRow(checkLabel);
    box->setFixedWidth(300);
    return box;
}

QWidget* MaterialsWindow::buildAnalysisBox() {
    auto* box = new QGroupBox(QStringLiteral("Анализ, % сухого сырья :"), this);
    box->setObjectName(QStringLiteral("MaterialAnalysisBox"));
    auto* boxLayout = new QVBoxLayout(box);
    analysisGrid = new StringGrid(&analysisTable, TextGridModel::Layout::HeaderColumn, box);
    analysisGrid->setObjectName(QStringLiteral("MaterialAnalysis"));
    analysisGrid->setStatusTip(QStringLiteral(
        "Химический анализ сухого сырья, масс. % оксидов; с ППП в сумме 100 ± 0,5. Пустая ячейка — 0"));
    analysisGrid->setColumnWidthPixels(0, 70);
    analysisGrid->setColumnWidthPixels(1, 90);
    analysisGrid->horizontalHeader()->setStretchLastSection(true);
    analysisGrid->setMinimumWidth(170);
    connect(&analysisTable, &batch::TextGrid::cellChanged, this,
            [this](int column, int) { analysisEdited(column); });
    boxLayout->addWidget(analysisGrid);
    box->setFixedWidth(200);
    return box;
}

QPushButton* MaterialsWindow::commandButton(const QString& name, const QString& caption, const QString& hint,
                                            const std::function<void()>& handler) {
    auto* key = new QPushButton(caption, this);
    key->setObjectName(name);
    key->setStatusTip(hint);
    key->setMinimumHeight(27);
    connect(key, &QPushButton::clicked, this, [this, handler] { guarded(handler); });
    return key;
}

void MaterialsWindow::guarded(const std::function<void()>& handler) {
    batch::runGuarded(handler, [this](const QString& message) { dialogs_.showFailure(this, message); });
}

void MaterialsWindow::present() {
    presentWindow(this);
    // A window without unsaved edits shows the file as it is now.
    if (!unsaved_)
        readLibrary();
}

void MaterialsWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}

void MaterialsWindow::closeEvent(QCloseEvent* event) {
    if (unsaved_) {
        switch (dialogs_.askYesNoCancel(this, QStringLiteral("Сохранить изменения справочника сырья?"))) {
        case Dialogs::Answer::Yes:
            try {
                if (!saveLibrary())
                    return event->ignore();
            } catch (const batch::Failure& failure) {
                // A save that failed keeps the window open, so that nothing is lost.
                dialogs_.showFailure(this, failure.message());
                return event->ignore();
            }
            break;
        case Dialogs::Answer::No:
            // The edits are dropped: the window shows the file again when it is next opened.
            unsaved_ = false;
            break;
        case Dialogs::Answer::Cancel:
            return event->ignore();
        }
    }
    event->accept();
}

void MaterialsWindow::readLibrary() {
    const QString chosenName = chosen_ >= 0 ? materials_[static_cast<size_t>(chosen_)].name : QString();
    chemistry::RawMaterialLibrary library;
    damagedFile_ = false;
    const QString path = storage::rawMaterialsFilePath();
    fileStamp_ = storage::fileStamp(path);
    try {
        library = storage::readRawMaterialLibrary(path);
    } catch (const batch::Failure& failure) {
        damagedFile_ = true;
        showLibrary(library, QString());
        dialogs_.showFailure(this, failure.message());
        return;
    }
    showLibrary(library, chosenName);
}

void MaterialsWindow::showLibrary(const chemistry::RawMaterialLibrary& library, const QString& chosenName) {
    oxideColumns_ = library.oxideColumns;
    materials_.clear();
    int chosen = library.materials.empty() ? -1 : 0;
    for (const chemistry::RawMaterial& material : library.materials) {
        if (material.name == chosenName)
            chosen = static_cast<int>(materials_.size());
        materials_.push_back(chemistry::rawMaterialTexts(material, batch::decimalSeparator()));
    }
    layOutAnalysisRows();
    showing_ = true;
    materialsList->clear();
    for (const chemistry::RawMaterialTexts& material : materials_)
        materialsList->addItem(material.name);
    showing_ = false;
    chooseMaterial(chosen);
}

void MaterialsWindow::layOutAnalysisRows() {
    analysisOxides_ = oxideColumns_;
    for (const chemistry::GlassOxide& oxide : chemistry::glassOxides())
        if (!analysisOxides_.contains(QLatin1String(oxide.oxide)))
            analysisOxides_ << QString::fromLatin1(oxide.oxide);
    showing_ = true;
    analysisTable.setRowCount(static_cast<int>(analysisOxides_.size()));
    for (qsizetype r = 0; r < analysisOxides_.size(); ++r)
        analysisTable.setCell(0, static_cast<int>(r), analysisOxides_[r]);
    showing_ = false;
}

void MaterialsWindow::chooseMaterial(int index) {
    chosen_ = index >= 0 && index < static_cast<int>(materials_.size()) ? index : -1;
    showing_ = true;
    materialsList->setCurrentRow(chosen_);
    showing_ = false;
    showChosen();
}

void MaterialsWindow::showChosen() {
    static const chemistry::RawMaterialTexts nothing;
    const bool any = chosen_ >= 0;
    const chemistry::RawMaterialTexts& material = any ? materials_[static_cast<size_t>(chosen_)] : nothing;
    showing_ = true;
    nameEdit->setText(material.name);
    formulaEdit->setText(material.formula);
    purityEdit->setText(material.purity);
    moistureEdit->setText(material.moisture);
    priceEdit->setText(material.price);
    lossOnIgnitionEdit->setText(material.lossOnIgnition);
    carbonDioxideEdit->setText(material.carbonDioxide);
    for (int r = 0; r < analysisTable.rowCount(); ++r)
        analysisTable.setCell(1, r, QString());
    for (const auto& [oxide, percent] : material.analysis)
        analysisTable.setCell(1, static_cast<int>(analysisOxides_.indexOf(oxide)), percent);
    showing_ = false;
    for (QWidget* control : std::initializer_list<QWidget*>{nameEdit, formulaEdit, purityEdit, moistureEdit,
                                                            priceEdit, lossOnIgnitionEdit, carbonDioxideEdit,
                                                            analysisGrid, copyButton, deleteButton})
        control->setEnabled(any);
    analysisGrid->scrollToTop();
    checkChosen();
}

void MaterialsWindow::materialEdited() {
    unsaved_ = true;
    if (QListWidgetItem* item = materialsList->item(chosen_))
        item->setText(materials_[static_cast<size_t>(chosen_)].name);
    checkChosen();
}

void MaterialsWindow::analysisEdited(int column) {
    if (showing_ || chosen_ < 0 || column != 1)
        return;
    // The analysis in the order of the table, an oxide once, blank cells left out.
    std::vector<std::pair<QString, QString>> analysis;
    for (int r = 0; r < analysisTable.rowCount(); ++r)
        if (!analysisTable.cell(1, r).trimmed().isEmpty())
            analysis.emplace_back(analysisOxides_.value(r), analysisTable.cell(1, r));
    materials_[static_cast<size_t>(chosen_)].analysis = std::move(analysis);
    materialEdited();
}

void MaterialsWindow::checkChosen() {
    if (chosen_ < 0) {
        checkLabel->setText(materials_.empty()
                                ? QStringLiteral("Справочник пуст: добавьте сырьё или импортируйте "
                                                 "его из файла.")
                                : QString());
        checkLabel->setStyleSheet(QString());
        return;
    }
    const auto index = static_cast<size_t>(chosen_);
    try {
        const chemistry::RawMaterial material =
            chemistry::rawMaterialFromTexts(materials_[index], lineOf(index));
        for (size_t i = 0; i < materials_.size(); ++i)
            if (i != index && materials_[i].name.trimmed() == material.name) {
                QHash<QString, int> other{{material.name, lineOf(i)}};
                chemistry::checkUniqueRawMaterialName(material.name, lineOf(index), other);
            }
        if (material.byFormula()) {
            checkLabel->setText(QStringLiteral("Сырьё задано формулой %1.").arg(material.formula));
        } else {
            batch::Extended sum = material.lossOnIgnition.value_or(0);
            for (const chemistry::OxidePercent& share : material.analysis)
                sum += share.percent;
            checkLabel->setText(
                QStringLiteral("Сырьё задано анализом: оксиды и ППП в сумме %1 %.").arg(sumText(sum)));
        }
        checkLabel->setStyleSheet(QString());
    } catch (const batch::Failure& failure) {
        checkLabel->setText(failure.message());
        checkLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    }
}

chemistry::RawMaterialLibrary MaterialsWindow::libraryAsEdited() {
    int fault = -1;
    try {
        return chemistry::rawMaterialLibraryFromTexts(materials_, oxideColumns_, &fault);
    } catch (const batch::Failure&) {
        chooseMaterial(fault);
        throw;
    }
}

void MaterialsWindow::addMaterial() {
    chemistry::RawMaterialTexts material;
    material.name = chemistry::unusedRawMaterialName(materials_, QStringLiteral("Новое сырьё"));
    materials_.push_back(material);
    materialsList->addItem(material.name);
    unsaved_ = true;
    chooseMaterial(static_cast<int>(materials_.size()) - 1);
    nameEdit->setFocus();
    nameEdit->selectAll();
}

void MaterialsWindow::copyMaterial() {
    if (chosen_ < 0)
        return;
    chemistry::RawMaterialTexts material = materials_[static_cast<size_t>(chosen_)];
    material.name =
        chemistry::unusedRawMaterialName(materials_, material.name.trimmed() + QStringLiteral(" (копия)"));
    materials_.insert(materials_.begin() + chosen_ + 1, material);
    materialsList->insertItem(chosen_ + 1, material.name);
    unsaved_ = true;
    chooseMaterial(chosen_ + 1);
}

void MaterialsWindow::deleteMaterial() {
    if (chosen_ < 0)
        return;
    const int index = chosen_;
    if (dialogs_.askYesNo(this, QStringLiteral("Удалить сырьё «%1» из справочника?")
                                    .arg(materials_[static_cast<size_t>(index)].name.trimmed())) !=
        Dialogs::Answer::Yes)
        return;
    materials_.erase(materials_.begin() + index);
    showing_ = true;
    delete materialsList->takeItem(index);
    showing_ = false;
    unsaved_ = true;
    chooseMaterial(std::min(index, static_cast<int>(materials_.size()) - 1));
}

bool MaterialsWindow::saveLibrary() {
    const chemistry::RawMaterialLibrary library = libraryAsEdited();
    const QString path = storage::rawMaterialsFilePath();
    QString question;
    if (fileStamp_ && storage::fileStamp(path) != *fileStamp_)
        question = QStringLiteral("Файл справочника сырья «%1» изменён другой программой после того, как это "
                                  "окно его прочитало. Заменить его справочником из этого окна?");
    else if (damagedFile_)
        question = QStringLiteral("Файл справочника сырья «%1» повреждён и не был прочитан. "
                                  "Заменить его справочником из этого окна?");
    if (!question.isEmpty() && dialogs_.askYesNo(this, question.arg(path)) != Dialogs::Answer::Yes)
        return false;
    storage::writeRawMaterialsFile(path, library);
    fileStamp_ = storage::fileStamp(path);
    unsaved_ = false;
    damagedFile_ = false;
    emit librarySaved();
    return true;
}

void MaterialsWindow::importMaterials() {
    const std::optional<QString> name =
        dialogs_.openFileName(this, QString::fromUtf8(kFileFilter), lastFileName_);
    if (!name)
        return;
    lastFileName_ = *name;
    const chemistry::RawMaterialLibrary incoming = storage::readRawMaterialsFile(*name);
    const chemistry::RawMaterialLibrary library = libraryAsEdited();
    QSet<QString> replaced;
    for (const QString& colliding : chemistry::collidingRawMaterials(library, incoming)) {
        switch (dialogs_.askYesNoCancel(
            this, QStringLiteral("Сырьё «%1» уже есть в справочнике. Заменить его сырьём из файла?")
                      .arg(colliding))) {
        case Dialogs::Answer::Yes:
            replaced.insert(colliding);
            break;
        case Dialogs::Answer::No:
            break;
        case Dialogs::Answer::Cancel:
            return; // nothing imported
        }
    }
    const chemistry::RawMaterialLibrary merged = chemistry::mergeRawMaterials(library, incoming, replaced);
    if (merged == library)
        return;
    const QString chosenName = chosen_ >= 0 ? materials_[static_cast<size_t>(chosen_)].name : QString();
    showLibrary(merged, chosenName);
    unsaved_ = true;
}

void MaterialsWindow::exportLibrary() {
    const chemistry::RawMaterialLibrary library = libraryAsEdited();
    const std::optional<QString> path = saveFileNameWithExtension(
        dialogs_, this, QString::fromUtf8(kFileFilter), QStringLiteral(".csv"), lastFileName_);
    if (path)
        storage::writeRawMaterialsFile(*path, library);
}
