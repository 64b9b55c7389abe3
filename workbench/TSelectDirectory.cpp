#include "TSelectDirectory.h"

#include <QFileDialog>
#include <QWidget>

TSelectDirectory::TSelectDirectory(QWidget *owner) : QObject(owner), m_owner(owner)
{
    Runner = [](TSelectDirectory &d) {
        const QString dir = QFileDialog::getExistingDirectory(d.m_owner, d.Title, d.InitialDir,
                                                              QFileDialog::ShowDirsOnly);
        if (dir.isEmpty())
            return false;
        d.Directory = dir;
        return true;
    };
}

bool TSelectDirectory::Execute()
{
    Directory.clear();
    return Runner && Runner(*this);
}
