#include "app/SettingsWindow.h"
#include "analysis/WindowPlacement.h"

#include <QCheckBox>
#include <QGroupBox>

namespace {

struct CheckBoxText {
    QCheckBox* SettingsWindow::*member;
    const char* name;
    const char* caption;
    const char* hint;
    bool ticked;
};

// In the order of the settings keys. The trailing blanks of the line captions belong to the
// captions. The sizing boxes read "ширины строк" and "высоты столбцов", yet the first governs
// column widths and the second row heights: the captions are kept as users know them, the effects
// follow the tables' sizing.
constexpr CheckBoxText checkBoxTexts[] = {
    {&SettingsWindow::cellEditingCheckBox, "CheckBox1", "Разрешить редактирование содержимого ячеек",
     "Разрешить редактирование содержимого ячеек в таблице", true},
    {&SettingsWindow::rowSelectionCheckBox, "CheckBox2", "Разрешить выделение строк таблицы",
     "Разрешить выделение строк таблицы", false},
    {&SettingsWindow::horizontalLinesCheckBox, "CheckBox3", "Включить отображение горизонтальных линий ",
     "Включить отображение горизонтальных линий в таблице", true},
    {&SettingsWindow::columnSizingCheckBox, "CheckBox4", "Включить редактирование ширины строк",
     "Включить редактирование ширины строк таблицы", false},
    {&SettingsWindow::rowSizingCheckBox, "CheckBox5", "Включить редактирование высоты столбцов",
     "Включить редактирование высоты столбцов таблицы", false},
    {&SettingsWindow::verticalLinesCheckBox, "CheckBox6", "Включить отображение вертикальных линий ",
     "Включить отображение вертикальных линий в таблице", true},
};

constexpr int clientWidth = 364;
constexpr int clientHeight = 350;

} // namespace

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("Настройки программы"));
    setFixedSize(clientWidth, clientHeight);
    // The captions were written for the program's 8-point type; larger type would cut the
    // longest of them at the frame.
    QFont type = font();
    type.setPointSize(8);
    setFont(type);

    // A frame without a caption: the group only draws the border around the six boxes.
    tableOptionsBox = new QGroupBox(this);
    tableOptionsBox->setObjectName("GroupBox2");
    tableOptionsBox->setGeometry(8, 8, clientWidth - 16, clientHeight - 16);

    int top = 16;
    for (const CheckBoxText& text : checkBoxTexts) {
        auto* box = new QCheckBox(QString::fromUtf8(text.caption), tableOptionsBox);
        this->*text.member = box;
        box->setObjectName(text.name);
        box->setStatusTip(QString::fromUtf8(text.hint));
        box->setChecked(text.ticked);
        box->setGeometry(12, top, tableOptionsBox->width() - 16, 22);
        top += 30;
    }
}

std::array<QCheckBox*, 6> SettingsWindow::checkBoxes() const {
    std::array<QCheckBox*, 6> boxes{};
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i] = this->*checkBoxTexts[i].member;
    return boxes;
}

void SettingsWindow::present() {
    presentWindow(this);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}
