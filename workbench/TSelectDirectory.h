#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// The folder dialog of the open-project command: a title, a folder to start at, and the chosen folder.
// `Runner` shows the dialog; tests replace it to answer without a person.
class TSelectDirectory : public QObject
{
    Q_OBJECT
public:
    explicit TSelectDirectory(QWidget *owner);

    QString Title;
    QString InitialDir;
    QString Directory; // the chosen folder after a successful Execute

    // Shows the dialog; false when the user cancelled. Fills Directory on success.
    bool Execute();

    // Receives the dialog itself; returns false for a cancel, or sets Directory and returns true.
    std::function<bool(TSelectDirectory &)> Runner;

private:
    QWidget *m_owner;
};
