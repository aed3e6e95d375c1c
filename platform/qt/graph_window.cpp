#include "platform/qt/graph_window.h"

#include "platform/dosfs/file_writer.h"
#include "platform/qt/qt_application.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qtbind {

GraphWindow::GraphWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(4);
    auto* commands = new QHBoxLayout;
    up_ = new QPushButton(QCoreApplication::translate("Tolan", "上へ"), this);
    up_->setToolTip(QCoreApplication::translate("Tolan", "一つ上のフォルダ (Backspace)"));
    colours_ = new QComboBox(this);
    colours_->addItems({QCoreApplication::translate("Tolan", "種類別の色"),
                        QCoreApplication::translate("Tolan", "階層別の色")});
    colours_->setAccessibleName(QCoreApplication::translate("Tolan", "色分け"));
    measure_ = new QComboBox(this);
    measure_->addItems({QCoreApplication::translate("Tolan", "ファイルの長さ"),
                        QCoreApplication::translate("Tolan", "ディスク使用量")});
    measure_->setAccessibleName(QCoreApplication::translate("Tolan", "大きさの基準"));
    save_ = new QPushButton(QCoreApplication::translate("Tolan", "保存..."), this);
    save_->setToolTip(QCoreApplication::translate("Tolan", "PNG または SVG に保存 (Ctrl+S)"));
    commands->addWidget(up_);
    commands->addWidget(colours_);
    commands->addWidget(measure_);
    commands->addStretch(1);
    commands->addWidget(save_);
    column->addLayout(commands);
    canvas_ = new GraphCanvas(this);
    column->addWidget(canvas_, 1);
    legend_ = new QLabel(this);
    note_ = new QLabel(this);
    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The tile it names is the picture's description too: no tab stop of
    // its own, nameless while empty.
    status_->setFocusPolicy(Qt::NoFocus);
    status_->setMinimumWidth(10);  // a long path never widens the window
    legend_->setMinimumWidth(10);
    legend_->setAccessibleName(QCoreApplication::translate("Tolan", "凡例"));
    for (QLabel* l : {legend_, note_, status_}) column->addWidget(l);
    for (QWidget* w : {static_cast<QWidget*>(up_), static_cast<QWidget*>(colours_),
                       static_cast<QWidget*>(measure_), static_cast<QWidget*>(save_)})
        w->setFocusPolicy(Qt::TabFocus);
    canvas_->onStatus = [this](const QString& text) { status_->setText(text); };
    canvas_->onZoom = [this] { showZoom(); };
    connect(up_, &QPushButton::clicked, this, [this] { canvas_->zoomOut(); });
    connect(colours_, &QComboBox::currentIndexChanged, this, [this](int i) {
        canvas_->setColours(i == 1 ? GraphColours::ByDepth : GraphColours::ByKind);
        showLegend();
    });
    connect(measure_, &QComboBox::currentIndexChanged, this, [this](int i) {
        canvas_->setMeasure(i == 1 ? treemap::Measure::Disk : treemap::Measure::Length);
        showNote();
    });
    connect(save_, &QPushButton::clicked, this, [this] { askAndSave(); });
    // Ctrl+S saves at once (a button's own shortcut would wait for its
    // pressed look); Escape closes the window, Ctrl+W too.
    auto* saveKey = new QAction(this);
    saveKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveKey, &QAction::triggered, this, [this] { askAndSave(); });
    auto* closeKey = new QAction(this);
    closeKey->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(closeKey, &QAction::triggered, this, &QWidget::close);
    addActions({saveKey, closeKey});
    resize(900, 640);
}

void GraphWindow::setDocument(std::shared_ptr<treemap::GraphDocument> document) {
    document_ = std::move(document);
    canvas_->setDocument(document_);
    showNote();
    status_->clear();
    showZoom();
    showLegend();
    canvas_->setFocus();
}

void GraphWindow::showZoom() {
    if (!document_) return;
    setWindowTitle(document_->title(canvas_->top()));
    up_->setEnabled(canvas_->top() != 0);
}

// Which size the areas stand for, and what the document notes.
void GraphWindow::showNote() {
    QString text = canvas_->measure() == treemap::Measure::Disk
                       ? QCoreApplication::translate("Tolan", "面積: ディスク使用量")
                       : QCoreApplication::translate("Tolan", "面積: ファイルの長さ");
    const QString note = document_ ? document_->note() : QString();
    if (!note.isEmpty()) text += QStringLiteral("   ") + note;
    note_->setText(text);
}

void GraphWindow::showLegend() {
    const auto tree = document_ ? document_->tree() : nullptr;
    if (!tree) return legend_->clear();
    QStringList entries;
    for (const LegendEntry& e : graphLegend(*tree, canvas_->colours()))
        entries << (e.colour.isValid()
                        ? QStringLiteral("<span style=\"background:%1\">&nbsp;&nbsp;&nbsp;</span>"
                                         "&nbsp;%2")
                              .arg(e.colour.name(), e.label.toHtmlEscaped())
                        : e.label.toHtmlEscaped());
    legend_->setText(entries.join(QStringLiteral(" &nbsp;")));
}

QString GraphWindow::pictureTitle() const {
    return document_->title(canvas_->top()) + QStringLiteral("   ") + measure_->currentText();
}

QByteArray GraphWindow::pngBytes() const {
    const QImage image =
        savedGraphImage({*document_->tree(), canvas_->tiles(), canvas_->width(), canvas_->height(),
                         canvas_->colours(), canvas_->devicePixelRatioF(), pictureTitle()});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) return {};
    return bytes;
}

void GraphWindow::askAndSave() {
    QFileDialog dialog(this, QCoreApplication::translate("Tolan", "占有グラフの保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)")});
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveTo(dialog.selectedFiles().constFirst());
}

bool GraphWindow::saveTo(const QString& fileName) {
    const auto tree = document_ ? document_->tree() : nullptr;
    if (!tree) return false;
    const bool svg = fileName.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const int w = canvas_->width(), h = canvas_->height();
    const QByteArray bytes =
        svg ? graphSvg(*tree, canvas_->tiles(), w, h, canvas_->colours(), canvas_->measure())
            : pngBytes();
    const int error = bytes.isEmpty() ? 61 : dosfs::replaceFile(QFile::encodeName(fileName), bytes);
    status_->setText(error
                         ? QCoreApplication::translate("Tolan", "保存できません: %1").arg(fileName)
                         : QCoreApplication::translate("Tolan", "保存しました: %1").arg(fileName));
    return error == 0;
}

void QtApplication::showGraph(std::shared_ptr<treemap::GraphDocument> document) {
    if (!graphWindow_) graphWindow_ = std::make_unique<GraphWindow>();
    auto* window = static_cast<GraphWindow*>(graphWindow_.get());
    window->setDocument(std::move(document));
    window->show();
    window->raise();
    window->activateWindow();
}

bool QtApplication::graphOpen() const {
    return graphWindow_ && graphWindow_->isVisible();
}

void QtApplication::updateGraph(std::shared_ptr<treemap::GraphDocument> document) {
    if (graphOpen())
        static_cast<GraphWindow*>(graphWindow_.get())->setDocument(std::move(document));
}

}  // namespace qtbind
