#include "output/form6_search.h"

#include "engine/renderings.h"
#include "platform/dosfs/host_name.h"
#include "platform/forms/application.h"
#include "platform/forms/shown_text.h"
#include "shell/design.h"

#include <sys/stat.h>

namespace output {

using shell::make;

namespace {

const QString kSearch = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "検索"));
const QString kStop = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "中止"));
const QString kTypeName =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "検索するファイル名を入力して下さい"));
const QString kUnclosed =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "検索するファイル名の「[」が閉じていません"));
const QString kBadCharacter =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "検索するファイル名に使えない文字があります"));
const QString kNoSnapshots = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "保存ファイルがありません"));
const QString kSearching = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "検索中  %1 / %2  %3 件"));
const QString kFound = QStringLiteral(QT_TRANSLATE_N_NOOP("Tolan", "%1 件見つかりました"));
const QString kNoneFound = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "見つかりませんでした"));
const QString kStopped = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "中止しました  %1 件"));
const QString kCutShort = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "%1 件で打ち切りました"));
const QString kUnreadable =
    QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "  読めない保存ファイル %1 個（%2）"));
const QString kGone = QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "%1 はありません"));

}  // namespace

Form6Search::Form6Search(forms::Form& form, std::function<Snapshots()> snapshots)
    : Label3(make<forms::Label>(form, "Label3", -1, nullptr, 120, 4905, 1350, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP("Tolan", "ファイル名検索")))),
      Text3(make<forms::TextBox>(form, "Text3", -1, nullptr, 1500, 4860, 4500, 330, QString())),
      Command5(make<forms::CommandButton>(form, "Command5", -1, nullptr, 6120, 4840, 1155, 375,
                                          kSearch)),
      Label4(make<forms::Label>(form, "Label4", -1, nullptr, 120, 5340, 7155, 255,
                                QStringLiteral(QT_TRANSLATE_NOOP(
                                    "Tolan", "検索結果（保存ファイル: パス・サイズ・日時）")))),
      List2(make<forms::ListBox>(form, "List2", -1, nullptr, 120, 5640, 7155, 2400, QString())),
      Label5(make<forms::Label>(form, "Label5", -1, nullptr, 120, 8100, 7155, 255, QString())),
      form_(form),
      snapshots_(std::move(snapshots)) {
    // Enter in the box searches; on a file found, opens it.
    Text3.wantsEnter = true;
    Text3.KeyDown = [this](int key, int) {
        if (key == forms::keys::kEnter) start();
    };
    Command5.Click = [this] {
        if (searching_)
            stop();
        else
            start();
    };
    List2.wantsEnter = true;
    List2.DblClick = [this] { openRow(); };
    List2.KeyDown = [this](int key, int) {
        if (key == forms::keys::kEnter) openRow();
    };
    shell::describe(Text3, Label3);
    shell::describe(List2, Label4);
    shell::describe(Label5, forms::AccessibleRole::Message);
}

void Form6Search::reset() {
    stop();
    results_.clear();
    List2.clear();
    Label5.setText(QString());
}

void Form6Search::stop() {
    ++generation_;
    if (!searching_) return;
    searching_ = false;
    Command5.setText(forms::shown(kSearch));
    List2.appendsShown();
    Label5.setText(forms::shown(kStopped).arg(results_.size()));
}

// Whether the pattern can be searched for; when not, says why.
bool Form6Search::patternShown(const QByteArray& pattern) {
    if (engine::patternTrouble(pattern).isEmpty()) return true;
    Label5.setText(forms::shown(pattern.isEmpty()        ? kTypeName
                                : pattern.contains('\0') ? kBadCharacter
                                                         : kUnclosed));
    return false;
}

void Form6Search::start() {
    // A search that runs ends, silently: this one takes its place.
    const int mine = ++generation_;
    searching_ = false;
    Command5.setText(forms::shown(kSearch));
    results_.clear();
    List2.clear();
    const QByteArray pattern = dosfs::encodeHostName(Text3.text());
    if (!patternShown(pattern)) return;
    const Snapshots s = snapshots_();
    if (s.names.isEmpty()) return Label5.setText(forms::shown(kNoSnapshots));
    searching_ = true;
    Command5.setText(forms::shown(kStop));
    engine::SnapshotFind find(pattern);
    // Events run between snapshots and between blocks of lines: 中止, a new
    // search or the dialog's closing ends this one there.
    const auto going = [this, mine] {
        List2.appendsShown();
        form_.app().letEventsRun();
        return generation_ == mine && form_.visible();
    };
    int unreadable = 0;
    QString firstTrouble;
    bool full = false;
    for (qsizetype i = 0; i < s.names.size() && !full; ++i) {
        Label5.setText(forms::shown(kSearching).arg(i).arg(s.names.size()).arg(results_.size()));
        if (!going()) return;
        const QString& name = s.names[i];
        const QByteArray path = s.folder + '/' + dosfs::encodeHostName(name);
        const auto take = [&](const engine::FoundFile& file) {
            if (full) return;
            results_.push_back({name, file});
            // The file first, where the list shows it without scrolling.
            List2.addItem(engine::foundPathText(name, file) + QStringLiteral("  ") +
                          engine::trimSpaces(engine::foundSideText(file)));
            full = results_.size() >= size_t(kMostResults);
        };
        QString message;
        struct stat st {};
        // One deleted since the list was read is said so, and skipped.
        if (::stat(path.constData(), &st) != 0)
            message = forms::shown(kGone).arg(name);
        else if (!S_ISREG(st.st_mode) || find.search(path, take, message, going))
            continue;
        if (generation_ != mine) return;
        if (message.isEmpty()) continue;
        if (unreadable++ == 0)
            firstTrouble =
                message.startsWith(name) ? message : name + QStringLiteral(": ") + message;
    }
    if (generation_ != mine) return;
    finish(unreadable, firstTrouble, full);
}

void Form6Search::finish(int unreadable, const QString& firstTrouble, bool full) {
    searching_ = false;
    Command5.setText(forms::shown(kSearch));
    List2.appendsShown();
    const qsizetype n = qsizetype(results_.size());
    QString text = full     ? forms::shown(kCutShort).arg(n)
                   : n == 0 ? forms::shown(kNoneFound)
                            : forms::shownCount(kFound, n).arg(n);
    if (unreadable) text += forms::shown(kUnreadable).arg(unreadable).arg(firstTrouble);
    Label5.setText(text);
}

void Form6Search::openRow() {
    const int row = List2.listIndex();
    if (row < 0 || size_t(row) >= results_.size() || !open) return;
    open(results_[size_t(row)]);
}

}  // namespace output
