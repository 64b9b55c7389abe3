#include "ProgramMain.h"

#include "APPsplash.h"
#include "AppImages.h"
#include "Glossmill_MainForm.h"
#include "Glossmill_Misc.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QThread>

#include <exception>
#include <unistd.h>

namespace {

// The folder of the program file, ending with "/".
QString ProgramFolder(const char *argv0)
{
    QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (exe.isEmpty() && argv0)
        exe = QFileInfo(QString::fromLocal8Bit(argv0)).absoluteFilePath();
    const int slash = exe.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : exe.left(slash + 1);
}

} // namespace

int ProgramMain(int argc, char **argv)
{
    const QString folder = ProgramFolder(argc > 0 ? argv[0] : nullptr);
    AddFolderToPath(folder);
    try {
        if (!folder.isEmpty())
            QDir::setCurrent(folder);
    } catch (...) {
    }

    // The browser's sandbox refuses to run as root.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static int qtArgc = 1;
    static char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    app.setWindowIcon(AppImages::Icon(QStringLiteral("glossmill")));

    FormSplash = new TFormSplash(nullptr);
    FormSplash->DoSplash(false);
    QApplication::processEvents();
    FormSplash->repaint();

    std::exception_ptr failure;
    try {
        new TGlossmillMainForm;
        // The dialogs join here, in this order: TFormNewLang, TFormAddFiles, TFRMOptions (loads the settings and
        // seeds the main window's source locale), TFormSelectLang, TFEditTranslation.
        QThread::msleep(4000);
    } catch (...) {
        failure = std::current_exception();
    }
    FormSplash->close();
    if (GlossmillMainForm) {
        // Without a window manager "maximized" means nothing; the screen's size is what it would give.
        if (QScreen *screen = QGuiApplication::primaryScreen())
            GlossmillMainForm->setGeometry(screen->availableGeometry());
        GlossmillMainForm->showMaximized();
        app.exec();
        delete GlossmillMainForm;
    }
    if (failure)
        std::rethrow_exception(failure);
    delete FormSplash;
    FormSplash = nullptr;
    return 0;
}
