#include "app/AboutWindow.h"
#include "analysis/WindowPlacement.h"

#include "export/JpegImage.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>

namespace {

constexpr int clientWidth = 340;
constexpr int clientHeight = 313;

// White bold type on a black ground, as all texts of this window are drawn over the picture.
void styleCaption(QLabel* label, int pixelSize) {
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(colours);
    label->setAutoFillBackground(true);
}

// A small credit line, centred across the window at the given height.
QLabel* makeCredit(const char* name, const QString& text, int top, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    styleCaption(label, 11);
    label->setObjectName(name);
    label->adjustSize();
    label->move((clientWidth - label->width()) / 2, top);
    return label;
}

// The title's runs of blanks are there to put each part on a line of its own. Whether they do
// depends on the width of a blank in the font at hand, so the label draws each run as the line
// break it stands for; its text stays as written.
class TitleLabel : public QLabel {
public:
    using QLabel::QLabel;

    static QString shownText(const QString& text) {
        return QString(text).replace(QRegularExpression(QStringLiteral(" {2,}")), QStringLiteral("\n"));
    }

    int heightForWidth(int width) const override {
        return fontMetrics()
                   .boundingRect(QRect(0, 0, width, 1000), alignment() | Qt::TextWordWrap, shownText(text()))
                   .height() +
               2 * margin();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(font());
        painter.drawText(contentsRect().adjusted(margin(), margin(), -margin(), -margin()),
                         alignment() | Qt::TextWordWrap, shownText(text()));
    }
};

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("Form3");
    setWindowTitle(QStringLiteral("О программе"));
    setModal(false);
    setFixedSize(clientWidth, clientHeight);

    // The picture is larger than the window on purpose: it is drawn unscaled from its top-left
    // corner and the window shows only that part.
    picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setGeometry(0, 0, clientWidth, clientHeight);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    {
        QPalette ground = picture->palette();
        ground.setColor(QPalette::Window, Qt::black);
        picture->setPalette(ground);
        picture->setAutoFillBackground(true);
    }
    QFile pictureFile(QStringLiteral(":/about.jpg"));
    if (pictureFile.open(QIODevice::ReadOnly)) {
        const QImage image = exporting::decodeJpeg(pictureFile.readAll());
        if (!image.isNull())
            picture->setPixmap(QPixmap::fromImage(image));
    }

    // The runs of blanks break the title into its three lines within the label's width.
    titleLabel =
        new TitleLabel(QStringLiteral("Вельтрона     для приготовления                 стекла"), this);
    styleCaption(titleLabel, 16);
    titleLabel->setObjectName("Label1");
    titleLabel->setWordWrap(true);
    titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titleLabel->setFixedWidth(198);
    titleLabel->setFixedHeight(titleLabel->heightForWidth(198));
    titleLabel->move((clientWidth - 198) / 2, 16);

    okButton = new QPushButton(QStringLiteral("ОК"), this);
    okButton->setObjectName("Button1");
    QFont bold = okButton->font();
    bold.setBold(true);
    okButton->setFont(bold);
    okButton->setGeometry((clientWidth - 105) / 2, 224, 105, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QWidget::hide);

    authorsLabel = makeCredit("Label2", QStringLiteral("Разработка: команда Вельтрона"), 260, this);
    purposeLabel = makeCredit("Label3", QStringLiteral("Расчёт шихты для стекловарения"), 276, this);
    copyrightLabel = makeCredit("Label4", QStringLiteral("© 2026"), 292, this);
}

void AboutWindow::present() {
    presentWindow(this);
}

void AboutWindow::showEvent(QShowEvent* event) {
    centreOnFirstShow(this, placed_);
    QDialog::showEvent(event);
}
