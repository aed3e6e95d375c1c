#include "app/parts.h"

#include "platform/forms/application.h"
#include "shell/messages.h"

namespace app {

Parts::Parts(forms::Application& application, dosfs::DriveTable drives)
    : watch(kAnswerMs, [&application] { application.letPaintRun(); }),
      fs(std::move(drives), &watch),
      form(application, fs),
      behaviour(form),
      output(form, behaviour.scan) {}

bool openStartFolder(shell::Form1& form, const QByteArray& hostPath) {
    const dosfs::Resolved r = form.fs.fromHostPath(hostPath);
    if (r.error == 0 && r.isFolder && form.Drive1.setDrive(r.dos.left(2)) == 0 &&
        form.Dir1.setPath(r.dos) == 0)
        return true;
    shell::showMessage(form, shell::kOneLine, shell::kNoFolder);
    return false;
}

}  // namespace app
