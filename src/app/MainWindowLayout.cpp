#include "app/MainWindow.h"
#include "browser/BrowserPane.h"
#include "browser/FileList.h"
#include "browser/TestList.h"

#include "app/TextConvert.h"

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

template <class Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

QWidget* MainWindow::buildSourceRows() {
    auto* rows = new QWidget(this);
    auto* grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DialogOpenButton);
    const QString captions[2] = {QStringLiteral("Afrikaans source file:"),
                                 QStringLiteral("English source file:")};
    const char* buttonNames[2] = {"afrikaansSourceButton", "englishSourceButton"};
    const char* pathNames[2] = {"afrikaansSourcePath", "englishSourcePath"};
    const engine::Language languages[2] = {engine::Language::Afrikaans, engine::Language::English};
    for (std::size_t row = 0; row < 2; ++row) {
        QPushButton* button = named(new QPushButton(rows), buttonNames[row]);
        button->setIcon(openIcon);
        button->setToolTip(QStringLiteral("Pick the %1").arg(captions[row].chopped(1)));
        sourceButtons_[row] = button;
        sourcePathLabels_[row] = named(new QLabel(QStringLiteral("(Empty)"), rows), pathNames[row]);
        sourcePathLabels_[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(button, static_cast<int>(row), 0);
        grid->addWidget(new QLabel(captions[row], rows), static_cast<int>(row), 1);
        grid->addWidget(sourcePathLabels_[row], static_cast<int>(row), 2);
        const engine::Language language = languages[row];
        connect(button, &QPushButton::clicked, this, [this, language] { pickSource(language); });
    }
    grid->setColumnStretch(2, 1);
    return rows;
}

QWidget* MainWindow::buildDestination() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    destinationNameField_ =
        named(new QLineEdit(QStringLiteral("New Folder"), box), "destinationName");
    destinationNameField_->setMinimumWidth(120);
    destinationPathLabel_ = named(new QLabel(box), "destinationPath");
    destinationPathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(
        new QLabel(QStringLiteral("Destination folder (where results will be saved)"), box));
    layout->addWidget(destinationNameField_);
    layout->addWidget(destinationPathLabel_, 1);
    return box;
}

QWidget* MainWindow::buildTestListColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    markButton_ =
        named(new QPushButton(QStringLiteral("Click here to mark speed tests below"), column),
              "markButton");
    testListClearButton_ =
        named(new QPushButton(QStringLiteral("Clear"), column), "testListClearButton");
    progressBar_ = named(new QProgressBar(column), "progressBar");
    progressBar_->setFormat(QStringLiteral("%v of %m"));
    progressBar_->setRange(0, 1);
    progressBar_->setValue(0);
    progressBar_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(markButton_, 1);
    buttons->addWidget(testListClearButton_);
    layout->addLayout(buttons);
    layout->addWidget(progressBar_);
    browserArea_.testList->setParent(column);
    layout->addWidget(browserArea_.testList, 1);

    connect(markButton_, &QPushButton::clicked, this, &MainWindow::markSpeedTests);
    // A changed list makes the last session's progress meaningless.
    const auto resetProgress = [this] {
        if (!sessionRunning_) {
            progressBar_->hide();
        }
    };
    QAbstractItemModel* entries = browserArea_.testList->model();
    connect(entries, &QAbstractItemModel::rowsInserted, progressBar_, resetProgress);
    connect(entries, &QAbstractItemModel::rowsRemoved, progressBar_, resetProgress);
    connect(entries, &QAbstractItemModel::modelReset, progressBar_, resetProgress);
    connect(testListClearButton_, &QPushButton::clicked, this, &MainWindow::clearTestList);
    return column;
}

void MainWindow::buildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    browserArea_ = makeBrowserArea(this, toQString(programFolder_.path));
    connect(browserArea_.pane, &browser::BrowserPane::captionChanged, this,
            &QWidget::setWindowTitle);
    connect(browserArea_.testList, &browser::TestList::destinationDerived, this,
            [this](const QString& name, const QString& destPath) {
                // A running session keeps the destination it settled: a drag meanwhile
                // must not send the remaining results elsewhere.
                if (sessionRunning_) {
                    return;
                }
                destinationNameField_->setText(name);
                state_.destPath = toU16(destPath);
                showDestinationPath(state_.destPath);
            });
    browserArea_.pane->fileList()->setErrorReporter(
        [this](const QString& text) { dialogs_.messageBox(text, QStringLiteral("Error")); });

    // The viewer title with the viewer's own "Clear" button at its left, away from the test
    // list's "Clear" button.
    viewerTitle_ = named(new QLabel(central), "viewerTitle");
    viewerTitle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    viewerClearButton_ =
        named(new QPushButton(QStringLiteral("Clear"), central), "viewerClearButton");
    viewerClearButton_->hide();
    // The row keeps its height whether or not the button shows, so nothing below moves.
    viewerTitle_->setMinimumHeight(viewerClearButton_->sizeHint().height());
    connect(viewerClearButton_, &QPushButton::clicked, this, &MainWindow::clearViewer);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(viewerClearButton_);
    titleRow->addWidget(viewerTitle_, 1);

    // The viewer pane lies over the browser: one of the two is shown at a time.
    viewer_ = named(new QTextEdit(central), "viewer");
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
