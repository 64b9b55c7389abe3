#pragma once
// Drives the main window's project tree and item list as a translator does, on a sample project in a temporary folder.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "Glossmill_MainForm.h"
#include "Glossmill_types.h"
#include "SampleProject.h"
#include "TestSupport.h"
#include "WorkbenchTestHome.h"

class TItemListDriver
{
public:
    TTestHome Home;
    QTemporaryDir Work;
    std::unique_ptr<TGlossmillMainForm> Form = std::make_unique<TGlossmillMainForm>();

    // Writes the sample project's manifest and the given res folders (all of res when none are given).
    QString WriteSample(const QStringList &resFolders = {})
    {
        const QString to = Work.path() + "/sample";
        SampleProject::Write(to, resFolders);
        return to;
    }

    // Shows and activates the window, as the outside-change check and the focus rules need.
    bool ShowActive()
    {
        Form->show();
        return Activate();
    }
    bool Activate()
    {
        QApplication::setActiveWindow(Form.get());
        Form->activateWindow();
        return QTest::qWaitForWindowActive(Form.get());
    }

    QTreeWidgetItem *FileTreeNode(const QString &localeCode, const QString &fileName = "strings.xml") const
    {
        for (QTreeWidgetItemIterator it(Form->TVProject); *it; ++it) {
            auto *file = dynamic_cast<TTransResourceFileNode *>(TGlossmillMainForm::NodeData(*it));
            if (file && file->LocaleDesc.LocaleCode == localeCode &&
                QFileInfo(file->ResourceFileName).fileName() == fileName)
                return *it;
        }
        return nullptr;
    }
    // Selects the language's file in the tree, which shows its items; nullptr when there is no such file.
    TTransResourceFileNode *SelectFile(const QString &localeCode, const QString &fileName = "strings.xml")
    {
        QTreeWidgetItem *node = FileTreeNode(localeCode, fileName);
        if (!node)
            return nullptr;
        Form->TVProject->setCurrentItem(node);
        return File();
    }
    TTransResourceFileNode *File() const { return Form->SelectedFileNode(); }

    QTreeWidget *LV() const { return Form->LV; }
    int RowCount() const { return LV()->topLevelItemCount(); }
    QTreeWidgetItem *Row(int i) const { return LV()->topLevelItem(i); }
    QTreeWidgetItem *RowOf(const QString &id) const
    {
        for (int i = 0; i < RowCount(); ++i)
            if (Row(i)->text(1) == id)
                return Row(i);
        return nullptr;
    }
    TTranslateItem *ItemOf(const QString &id) const { return File() ? File()->GetItemByID(id) : nullptr; }
    QString Cell(const QString &id) const
    {
        QTreeWidgetItem *row = RowOf(id);
        return row ? row->text(3) : QStringLiteral("<no row>");
    }

    // Selects the row as a click on its ID cell would (which opens no editor).
    void SelectRow(QTreeWidgetItem *row)
    {
        LV()->setCurrentItem(row);
        row->setSelected(true);
        Form->SetControls();
    }

    QPoint CellCenter(QTreeWidgetItem *row, int column) const
    {
        LV()->scrollToItem(row);
        const QRect r = LV()->visualItemRect(row);
        return QPoint(LV()->header()->sectionViewportPosition(column) + LV()->header()->sectionSize(column) / 2,
                      r.center().y());
    }
    void Click(QTreeWidgetItem *row, int column)
    {
        QTest::mouseClick(LV()->viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(row, column));
    }
    // Clicks the row's Translation cell and waits for the editor to open over it.
    bool OpenEditor(QTreeWidgetItem *row)
    {
        Click(row, 3);
        return WaitEditing(row);
    }
    bool WaitEditing(QTreeWidgetItem *row)
    {
        return QTest::qWaitFor([&] { return Form->LItem == row && Form->ListViewEditor->isVisible(); }, 5000);
    }
    QLineEdit *Editor() const { return Form->ListViewEditor; }
    // Types key by key; characters beyond ASCII arrive as the text of a key without a code, as a keyboard layout
    // would send them.
    void Type(const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(Editor(), c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, Editor(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void Key(Qt::Key key) { QTest::keyClick(Editor(), key); }
};
