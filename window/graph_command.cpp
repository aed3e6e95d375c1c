#include "window/graph_command.h"
#include "platform/forms/shown_text.h"

#include "engine/renderings.h"
#include "platform/dosfs/errors.h"
#include "platform/forms/application.h"
#include "platform/treemap/graph_document.h"
#include "platform/treemap/tree_builder.h"
#include "shell/messages.h"

#include <set>

namespace window {
namespace {

// The graph of one scan as the main window describes it.
class Document : public treemap::GraphDocument {
  public:
    // `earlier`: a scan runs, and this is the graph of the one before.
    Document(std::shared_ptr<GraphCommand::Link> link, std::shared_ptr<const treemap::Tree> tree,
             bool earlier)
        : link_(std::move(link)), tree_(std::move(tree)), earlier_(earlier) {}

    std::shared_ptr<const treemap::Tree> tree() const override { return tree_; }

    QString title(int node) const override {
        QString t =
            forms::shown(shell::kGraphCaption) + QStringLiteral(" - ") + tree_->dosPath(node);
        if (tree_->partial) t += u' ' + forms::shown(shell::kGraphPartial);
        return t;
    }

    QString note() const override {
        QStringList notes;
        if (earlier_) notes << forms::shown(shell::kGraphEarlier).arg(tree_->rootPath);
        if (tree_->partial) notes << forms::shown(shell::kGraphPartial);
        if (tree_->size() > 1 && (*tree_)[0].bytes == 0)
            notes << forms::shown(shell::kGraphAllEmpty);
        return notes.join(QStringLiteral("  "));
    }

    // The path, the size as the listing writes it (bytes and its footers'
    // kilobytes) and the files below.
    QString describe(int node, bool rest, treemap::Amount a,
                     treemap::Measure measure) const override {
        QString path = tree_->dosPath(node);
        const treemap::Node& n = (*tree_)[node];
        if (n.kind == treemap::Kind::File) {
            path = tree_->dosPath(n.parent);
            if (!path.endsWith(u'\\')) path += u'\\';
            path += tree_->names[size_t(node)];
        } else if (rest || n.kind == treemap::Kind::Other) {
            if (!path.endsWith(u'\\')) path += u'\\';
            path += u'*';
        }
        const qint64 bytes = a.size(measure);
        QString size;
        engine::appendSizeText(size, bytes);
        QString text =
            path + QStringLiteral("   ") + engine::trimSpaces(size) +
            forms::shown(QStringLiteral(QT_TRANSLATE_NOOP("Tolan", " バイト (< "))) +
            engine::kbText(bytes, engine::kGrandDigits) + QStringLiteral(" KB >)   ") +
            forms::shownCount(QStringLiteral(QT_TRANSLATE_N_NOOP("Tolan", "%1 Files")), a.files)
                .arg(engine::trimSpaces(engine::countText(a.files, 5)));
        if (gone_.count(n.kind == treemap::Kind::Folder ? node : n.parent))
            text += QStringLiteral("   ") + forms::shown(shell::kNoFolder);
        return text;
    }

    QString select(int node) override {
        MainWindow* main = link_->main;
        if (!main || node < 0) return QString();
        // While a scan runs the folder tree is hidden and the scan's own.
        if (main->form.state.run == shell::RunState::Running) return QString();
        const QString path = tree_->dosPath(node);
        const int error = main->form.Dir1.setPath(path);  // Dir1_Change follows it
        if (error == 0) return QString();
        gone_.insert(node);
        // A folder whose name is gone from its parent is as gone as its path.
        const int said = error == dosfs::kFileNotFound ? dosfs::kPathNotFound : error;
        return path + QStringLiteral("   ") + shell::errorText(shell::Failed::Folder, said);
    }

  private:
    std::shared_ptr<GraphCommand::Link> link_;
    std::shared_ptr<const treemap::Tree> tree_;
    bool earlier_;
    std::set<int> gone_;  // folders a click found gone
};

}  // namespace

std::shared_ptr<const treemap::Tree> MainWindow::lastGraph() {
    // While a scan runs its rows are not all there yet.
    if (!graphPending_ || form.state.run == shell::RunState::Running) return lastGraph_;
    // The table holds the scan's folders in the order it entered them, each
    // one's files right after it: the builder gets them as a scan gives them.
    const engine::ScanTable& table = *form.state.found;
    treemap::TreeBuilder builder;
    builder.start(table.root());
    for (int k = 0; k < table.folderCount(); ++k) {
        builder.folder(table.folderPath(k));
        for (int i = int(table.folder(k).firstFile), end = table.endOfFiles(k); i < end; ++i)
            builder.file(table.fileName(i), engine::sizeValue(table.file(i).size),
                         table.diskBytes(i));
    }
    lastGraph_ = builder.finish(!table.whole());
    graphPending_ = false;
    return lastGraph_;
}

GraphCommand::GraphCommand(MainWindow& main)
    : main_(main), link_(std::make_shared<Link>(Link{&main})) {
    main_.form.sgraph->Click = [this] { sgraph_Click(); };
    // An open graph says, while a scan runs, that it shows the one before;
    // then it shows the scan that ended last. A graph nobody has open is
    // not made.
    main_.scanStarting = [this] { showIfOpen(shown_, true); };
    main_.scanEnded = [this] {
        if (main_.form.app().graphOpen()) showIfOpen(main_.lastGraph(), false);
    };
}

GraphCommand::~GraphCommand() {
    link_->main = nullptr;
}

void GraphCommand::showIfOpen(std::shared_ptr<const treemap::Tree> graph, bool earlier) {
    forms::Application& app = main_.form.app();
    if (!app.graphOpen() || !graph) return;
    shown_ = graph;
    app.updateGraph(std::make_shared<Document>(link_, std::move(graph), earlier));
}

void GraphCommand::sgraph_Click() {
    shell::Form1& f = main_.form;
    f.Text10.setVisible(false);
    const std::shared_ptr<const treemap::Tree> graph = main_.lastGraph();
    if (!graph) {
        shell::showMessage(f, shell::kOneLine, shell::kScanFirst);
        return;
    }
    shown_ = graph;
    const bool earlier = f.state.run == shell::RunState::Running;
    f.app().showGraph(std::make_shared<Document>(link_, graph, earlier));
}

}  // namespace window
