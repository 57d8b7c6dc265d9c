#include "app/FrmMain.h"
#include "browser/BrowserPane.h"
#include "browser/TestList.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tikmeter::app {

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton* namedButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

QWidget* FrmMain::buildSourceRows() {
    auto* rows = new QWidget(this);
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DialogOpenButton);
    const QString captions[2] = {QStringLiteral("Afrikaans source file:"),
                                 QStringLiteral("English source file:")};
    QPushButton** buttons[2] = {&command2_, &command3_};
    const QString buttonNames[2] = {QStringLiteral("Command2"), QStringLiteral("Command3")};
    for (int row = 0; row < 2; ++row) {
        QPushButton* button = namedButton(buttonNames[row], QString(), rows);
        button->setIcon(openIcon);
        button->setToolTip(QStringLiteral("Pick the %1").arg(captions[row].chopped(1)));
        *buttons[row] = button;
        label6_[row] = namedLabel(QStringLiteral("Label6_%1").arg(row), captions[row], rows);
        label7_[row] =
            namedLabel(QStringLiteral("Label7_%1").arg(row), QStringLiteral("(Empty)"), rows);
        label7_[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(button, row, 0);
        grid->addWidget(label6_[row], row, 1);
        grid->addWidget(label7_[row], row, 2);
    }
    grid->setColumnStretch(2, 1);
    connect(command2_, &QPushButton::clicked, this,
            [this] { pickSource(engine::Language::Afrikaans); });
    connect(command3_, &QPushButton::clicked, this,
            [this] { pickSource(engine::Language::English); });
    return rows;
}

QWidget* FrmMain::buildDestination() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    label8_ = namedLabel(QStringLiteral("Label8"),
                         QStringLiteral("Destination folder (where results will be saved)"), box);
    text1_ = new QLineEdit(QStringLiteral("New Folder"), box);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMinimumWidth(120);
    label9_ = namedLabel(QStringLiteral("Label9"), QString(), box);
    label9_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label8_);
    layout->addWidget(text1_);
    layout->addWidget(label9_, 1);
    return box;
}

QWidget* FrmMain::buildTestListColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    command1_ = namedButton(QStringLiteral("Command1"),
                            QStringLiteral("Click here to mark speed tests below"), column);
    command8_[1] = namedButton(QStringLiteral("Command8_1"), QStringLiteral("Clear"), column);
    progressBar_ = new QProgressBar(column);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setFormat(QStringLiteral("%v of %m"));
    progressBar_->setRange(0, 1);
    progressBar_->setValue(0);
    progressBar_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(command1_, 1);
    buttons->addWidget(command8_[1]);
    layout->addLayout(buttons);
    layout->addWidget(progressBar_);
    browserArea_.testList->setParent(column);
    layout->addWidget(browserArea_.testList, 1);

    connect(command1_, &QPushButton::clicked, this, &FrmMain::markSpeedTests);
    connect(command8_[1], &QPushButton::clicked, this, &FrmMain::clearTestList);
    return column;
}

void FrmMain::buildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    browserArea_ = makeBrowserArea(*this);

    // The viewer title with the viewer's own "Clear" button at its right.
    label3_ = namedLabel(QStringLiteral("Label3"), QString(), central);
    label3_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    command8_[0] = namedButton(QStringLiteral("Command8_0"), QStringLiteral("Clear"), central);
    command8_[0]->hide();
    // The row keeps its height whether or not the button shows, so nothing below moves.
    label3_->setMinimumHeight(command8_[0]->sizeHint().height());
    connect(command8_[0], &QPushButton::clicked, this, &FrmMain::clearViewer);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(label3_, 1);
    titleRow->addWidget(command8_[0]);

    // Printing is also a hidden button that other handlers press.
    command6_ = namedButton(QStringLiteral("Command6"), QStringLiteral("Print"), central);
    command6_->hide();
    connect(command6_, &QPushButton::clicked, this, &FrmMain::printViewer);

    // The viewer pane lies over the browser: one of the two is shown at a time.
    viewer_ = new QTextEdit(central);
    viewer_->setObjectName(QStringLiteral("RichTextBox3"));
    viewer_->setReadOnly(true);
    viewer_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    browserArea_.pane->setCover(viewer_);

    auto* lower = new QHBoxLayout;
    lower->addWidget(browserArea_.pane, 3);
    lower->addWidget(buildTestListColumn(), 1);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildSourceRows());
    layout->addWidget(buildDestination());
    layout->addLayout(titleRow);
    layout->addLayout(lower, 1);
}

} // namespace tikmeter::app
