#include "analysis/Unit5.h"
#include "app/JpegImage.h"
#include "app/Unit2.h"
#include "app/Unit3.h"

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct SettingsBox {
    const char* name;
    const char* caption;
    const char* hint;
    bool ticked;
};

void PrintTo(const SettingsBox& box, std::ostream* out) {
    *out << box.name;
}

class SettingsCheckBox : public ::testing::TestWithParam<SettingsBox> {};

TEST_P(SettingsCheckBox, HasItsCaptionHintAndInitialState) {
    TForm2 form;
    const SettingsBox& expected = GetParam();
    auto* box = form.findChild<QCheckBox*>(expected.name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), form.GroupBox2) << "the boxes sit in the frame";
    EXPECT_EQ(box->text(), QString::fromUtf8(expected.caption));
    EXPECT_EQ(box->statusTip(), QString::fromUtf8(expected.hint));
    EXPECT_EQ(box->isChecked(), expected.ticked);
}

INSTANTIATE_TEST_SUITE_P(
    Form2, SettingsCheckBox,
    ::testing::Values(SettingsBox{"CheckBox1", "Разрешить редактирование содержимого ячеек",
                                  "Разрешить редактирование содержимого ячеек в таблице", true},
                      SettingsBox{"CheckBox2", "Разрешить выделение строк таблицы",
                                  "Разрешить выделение строк таблицы", false},
                      SettingsBox{"CheckBox3", "Включить отображение горизонтальных линий ",
                                  "Включить отображение горизонтальных линий в таблице", true},
                      SettingsBox{"CheckBox4", "Включить редактирование ширины строк",
                                  "Включить редактирование ширины строк таблицы", false},
                      SettingsBox{"CheckBox5", "Включить редактирование высоты столбцов",
                                  "Включить редактирование высоты столбцов таблицы", false},
                      SettingsBox{"CheckBox6", "Включить отображение вертикальных линий ",
                                  "Включить отображение вертикальных линий в таблице", true}),
    [](const ::testing::TestParamInfo<SettingsBox>& info) { return std::string(info.param.name); });

TEST(Form2, BoxesStandOneBelowTheOtherInTheirOrder) {
    TForm2 form;
    const QCheckBox* boxes[] = {form.CheckBox1, form.CheckBox2, form.CheckBox3,
                                form.CheckBox4, form.CheckBox5, form.CheckBox6};
    for (int i = 1; i < 6; ++i)
        EXPECT_GE(boxes[i]->y(), boxes[i - 1]->geometry().bottom()) << "box " << i + 1;
    EXPECT_LE(form.GroupBox2->geometry().bottom(), form.height());
    EXPECT_TRUE(form.GroupBox2->title().isEmpty());
}

TEST(Form2, ClosingOnlyHidesAndKeepsTheChoices) {
    TForm2 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Настройки программы"));
    EXPECT_EQ(form.size(), QSize(364, 350));
    EXPECT_EQ(form.windowType(), Qt::Tool);
    form.present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.CheckBox2->setChecked(true);
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    form.present();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.CheckBox2->isChecked());
}

QImage aboutPicture() {
    QFile file(QStringLiteral(":/about.jpg"));
    return file.open(QIODevice::ReadOnly) ? decodeJpeg(file.readAll()) : QImage();
}

TEST(Form3, ShowsThePictureUnscaledFromItsTopLeftCorner) {
    TForm3 form;
    EXPECT_EQ(form.size(), QSize(340, 313));
    form.present();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QImage picture = aboutPicture();
    ASSERT_EQ(picture.size(), QSize(800, 600));
    const QImage shown = form.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(340, 313));
    // Places clear of the title, the button and the credits; a scaled or shifted picture would
    // differ at most of them.
    const QPoint places[] = {{5, 5}, {20, 120}, {60, 200}, {320, 100}, {300, 210}, {10, 300}};
    for (const QPoint& p : places) {
        const QColor want = picture.pixelColor(p);
        const QColor got = shown.pixelColor(p);
        EXPECT_LE(std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                      std::abs(got.blue() - want.blue()),
                  3)
            << "at " << p.x() << "," << p.y();
    }
}

// Horizontal bands of white ink in a picture of a label: one per line of text, each with the
// width its ink covers.
QList<int> inkLineWidths(const QImage& picture) {
    QList<int> widths;
    int left = -1;
    int right = -1;
    for (int y = 0; y <= picture.height(); ++y) {
        int rowLeft = -1;
        int rowRight = -1;
        for (int x = 0; y < picture.height() && x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) > 128) {
                rowLeft = rowLeft < 0 ? x : rowLeft;
                rowRight = x;
            }
        if (rowLeft >= 0) {
            left = left < 0 ? rowLeft : std::min(left, rowLeft);
            right = std::max(right, rowRight);
        } else if (left >= 0) {
            widths.append(right - left + 1);
            left = right = -1;
        }
    }
    return widths;
}

TEST(Form3, TitleReadsAsThreeLinesWithinItsWidth) {
    TForm3 form;
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Вельтрона     для приготовления                 стекла"));
    EXPECT_EQ(form.Label1->width(), 198);
    EXPECT_TRUE(form.Label1->font().bold());
    EXPECT_EQ(form.Label1->font().pixelSize(), 16);

    const QList<int> lines = inkLineWidths(form.Label1->grab().toImage());
    ASSERT_EQ(lines.size(), 3);
    const QFontMetrics metrics(form.Label1->font());
    const QString words[] = {QStringLiteral("Вельтрона"), QStringLiteral("для приготовления"),
                             QStringLiteral("стекла")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(lines[i], metrics.horizontalAdvance(words[i]), 4) << "line " << i + 1;
        EXPECT_LE(lines[i], 198);
    }
}

TEST(Form3, OkHidesTheWindowAndItCanBeShownAgain) {
    TForm3 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("О программе"));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("ОК"));
    EXPECT_EQ(form.Button1->size(), QSize(105, 25));
    form.present();
    form.present(); // a second "О программе" only brings the one window forward
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_FALSE(form.isModal());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    form.present();
    EXPECT_TRUE(form.isVisible());
}

TEST(Form5, IsAToolWindowAboveTheOthers) {
    TForm5 form;
    EXPECT_EQ(form.objectName(), QStringLiteral("Form5"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Анализ навесок"));
    EXPECT_EQ(form.windowType(), Qt::Tool);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form.present();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
}

} // namespace
