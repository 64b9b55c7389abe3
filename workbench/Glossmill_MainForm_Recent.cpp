// The recent projects: section "reopen" of the settings file, the Reopen menu and the welcome page's links.
#include "Glossmill_MainForm.h"

#include "Glossmill_Misc.h"
#include "TIniFile.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace {

const QString ReopenSection = QStringLiteral("reopen");

QString ReopenKey(int n)
{
    return QStringLiteral("item") + QString::number(n);
}

} // namespace

void TGlossmillMainForm::UpdateReopen()
{
    FillReopen();
}

void TGlossmillMainForm::FillReopen()
{
    const TIniFile ini(GetIniFileName());
    for (QAction *a : MMReopen->actions()) {
        MMReopen->removeAction(a);
        delete a;
    }
    QLabel *labels[] = {LBREcent0, LBREcent1, LBREcent2, LBREcent3, LBREcent4};
    int counter = 0;
    for (int n = 0; n <= 9; ++n) {
        const QString folder = ini.ReadString(ReopenSection, ReopenKey(n), QString());
        if (folder.isEmpty())
            continue;
        // "&" would make an accelerator of the next letter; the caption shows the folder as it is.
        auto *item = new QAction(QString(folder).replace(QLatin1Char('&'), QStringLiteral("&&")), this);
        item->setObjectName(QStringLiteral("MMReopen%1").arg(n));
        item->setToolTip(folder);
        item->setStatusTip(folder);
        connect(item, &QAction::triggered, this, [this, item]() { MMReopenClick(item); });
        MMReopen->addAction(item);
        if (n <= 4) {
            labels[counter]->setText(folder);
            labels[counter]->setToolTip(folder);
            ++counter;
        }
    }
}

void TGlossmillMainForm::AddToReopen()
{
    try {
        TIniFile ini(GetIniFileName());
        const QString folder = GetProjectDir();
        const QString wanted = UpperCaseAZ(folder);
        bool listed = false;
        for (int n = 0; n <= 9 && !listed; ++n) {
            QString value = UpperCaseAZ(ini.ReadString(ReopenSection, ReopenKey(n), QString()));
            if (value.size() > 1 && !value.endsWith(QLatin1Char('/')))
                value += QLatin1Char('/');
            listed = value == wanted;
        }
        if (!listed) {
            for (int k = 9; k >= 1; --k)
                ini.WriteString(ReopenSection, ReopenKey(k), ini.ReadString(ReopenSection, ReopenKey(k - 1), QString()));
            ini.WriteString(ReopenSection, ReopenKey(0), folder);
        }
        FillReopen();
    } catch (...) {
        // The recent list is a convenience: opening the project goes on without it.
    }
}

void TGlossmillMainForm::MMReopenClick(QObject *Sender)
{
    if (auto *item = qobject_cast<QAction *>(Sender))
        OpenProject(item->toolTip());
    else if (auto *label = qobject_cast<QLabel *>(Sender))
        OpenProject(label->toolTip());
}

void TGlossmillMainForm::LBREcent0Click()
{
    MMReopenClick(LBREcent0);
}

void TGlossmillMainForm::LBREcent1Click()
{
    MMReopenClick(LBREcent1);
}

void TGlossmillMainForm::LBREcent2Click()
{
    MMReopenClick(LBREcent2);
}

void TGlossmillMainForm::LBREcent3Click()
{
    MMReopenClick(LBREcent3);
}

void TGlossmillMainForm::LBREcent4Click()
{
    MMReopenClick(LBREcent4);
}
