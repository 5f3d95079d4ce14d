#include "app/SettingsWindow.h"
#include "analysis/WindowPlacement.h"

#include <QCheckBox>
#include <QGroupBox>

#include <iterator>

namespace {

struct CheckBoxText {
    const char* name;
    const char* caption;
    const char* hint;
    bool ticked;
};

// The trailing blanks of captions 3 and 6 belong to the captions. Boxes 4 and 5 read "ширины
// строк" and "высоты столбцов", yet 4 governs column widths and 5 row heights: the captions are
// kept as users know them, the effects follow the tables' sizing.
constexpr CheckBoxText checkBoxTexts[] = {
    {"CheckBox1", "Разрешить редактирование содержимого ячеек",
     "Разрешить редактирование содержимого ячеек в таблице", true},
    {"CheckBox2", "Разрешить выделение строк таблицы", "Разрешить выделение строк таблицы", false},
    {"CheckBox3", "Включить отображение горизонтальных линий ",
     "Включить отображение горизонтальных линий в таблице", true},
    {"CheckBox4", "Включить редактирование ширины строк", "Включить редактирование ширины строк таблицы",
     false},
    {"CheckBox5", "Включить редактирование высоты столбцов",
     "Включить редактирование высоты столбцов таблицы", false},
    {"CheckBox6", "Включить отображение вертикальных линий ",
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
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(8, 8, clientWidth - 16, clientHeight - 16);

    QCheckBox** boxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5, &CheckBox6};
    int top = 16;
    for (std::size_t i = 0; i < std::size(checkBoxTexts); ++i) {
        const CheckBoxText& text = checkBoxTexts[i];
        auto* box = new QCheckBox(QString::fromUtf8(text.caption), GroupBox2);
        box->setObjectName(text.name);
        box->setStatusTip(QString::fromUtf8(text.hint));
        box->setChecked(text.ticked);
        box->setGeometry(12, top, GroupBox2->width() - 16, 22);
        top += 30;
        *boxes[i] = box;
    }
}

void SettingsWindow::present() {
    presentWindow(this);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QWidget::showEvent(event);
}
