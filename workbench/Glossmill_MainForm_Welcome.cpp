// The welcome page's help and news tabs, each loaded the first time it is shown.
#include "Glossmill_MainForm.h"

#include "FrameWebBrowsing.h"

#include <QTabWidget>

void TGlossmillMainForm::PGWelcomeChange()
{
    LoadWelcomePages();
}

void TGlossmillMainForm::LoadWelcomePages()
{
    if (PGWelcome->currentWidget() == TBOnlineHelp && FWebBrowsingHelp->Tag != 1) {
        FWebBrowsingHelp->Tag = 1;
        FWebBrowsingHelp->SBNavHomeClick();
    }
    if (PGWelcome->currentWidget() == TBWhatIsNew && FWebBrowsingNews->Tag != 1) {
        FWebBrowsingNews->Tag = 1;
        FWebBrowsingNews->SBNavHomeClick();
    }
}
