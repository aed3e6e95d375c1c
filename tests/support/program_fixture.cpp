#include "tests/support/program_fixture.h"

#include "platform/codepage/cp932.h"

#include <QFile>

#include <cstdlib>

namespace {

std::optional<std::string> take(const char* name, const QByteArray& value) {
    const char* old = std::getenv(name);
    std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    setenv(name, value.constData(), 1);
    return saved;
}

void putBack(const char* name, const std::optional<std::string>& value) {
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

}  // namespace

SettingsFolders::SettingsFolders(const TempTree& tree)
    : config_(take("XDG_CONFIG_HOME", tree.path("config"))),
      state_(take("XDG_STATE_HOME", tree.path("state"))) {}

SettingsFolders::~SettingsFolders() {
    putBack("XDG_CONFIG_HOME", config_);
    putBack("XDG_STATE_HOME", state_);
}

dosfs::DriveTable testDrives(TempTree& tree) {
    tree.folder("c");
    dosfs::DriveTable drives;
    drives.set(u'C', tree.path("c"));
    drives.set(u'D', tree.root());
    drives.set(u'Q', tree.path("no-such-disk"));
    return drives;
}

ProgramFixture::ProgramFixture(TempTree& tree, bool load)
    : ProgramFixture(tree, testDrives(tree), load) {}

ProgramFixture::ProgramFixture(TempTree& tree, dosfs::DriveTable drives, bool load)
    : folders(tree), parts(app, std::move(drives)) {
    if (load) parts.load();
}

QStringList ProgramFixture::list1() const {
    QStringList out;
    for (int i = 0; i < form->List1.listCount(); ++i) out.append(form->List1.list(i));
    return out;
}

QStringList ProgramFixture::workFile() const {
    const dosfs::Resolved r = fs->resolve(form->state.workFilePath);
    QFile f(QString::fromUtf8(r.host));
    QStringList lines;
    if (!f.open(QIODevice::ReadOnly)) return lines;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.isEmpty()) lines.append(codepage::fromCp932(line.left(line.size() - 1)));
    return lines;
}
