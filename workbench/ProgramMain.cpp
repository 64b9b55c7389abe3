#include "ProgramMain.h"

#include "APPsplash.h"
#include "AppImages.h"
#include "Glossmill_EditDialog.h"
#include "Glossmill_ImportFilesDialog.h"
#include "Glossmill_MainForm.h"
#include "Glossmill_NewLangDialog.h"
#include "Glossmill_OptionsDialog.h"
#include "Glossmill_SelectLangDialog.h"
#include "Glossmill_Misc.h"
#include "TerminalDiagnostics.h"
#include "WindowShowing.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
    QuietDiagnostics();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static int qtArgc = 1;
    static char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    app.setWindowIcon(AppImages::Icon(QStringLiteral("glossmill")));

    FormSplash = new TFormSplash(nullptr);
    FormSplash->DoSplash(false);
    PaintWhenExposed(FormSplash, 400);

    std::exception_ptr failure;
    try {
        new TGlossmillMainForm;
        // The dialogs belong to the main window, over which they are centred.
        FormNewLang = new TFormNewLang(GlossmillMainForm);
        FormAddFiles = new TFormAddFiles(GlossmillMainForm);
        // The options load the settings and seed the main window's source locale.
        FRMOptions = new TFRMOptions(GlossmillMainForm, GlossmillMainForm->EDDefaultLocaleCode);
        FormSelectLang = new TFormSelectLang(GlossmillMainForm);
        FEditTranslation = new TFEditTranslation(GlossmillMainForm);
        QThread::msleep(4000);
    } catch (...) {
        failure = std::current_exception();
    }
    FormSplash->close();
    if (GlossmillMainForm) {
        ShowMaximizedToStay(GlossmillMainForm);
        app.exec();
        delete GlossmillMainForm;
    }
    if (failure)
        std::rethrow_exception(failure);
    delete FormSplash;
    FormSplash = nullptr;
    return 0;
}
