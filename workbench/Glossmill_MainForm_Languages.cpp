// Adding and deleting languages and adding the default files a language lacks.
#include "Glossmill_MainForm.h"

#include "DialogParts.h"
#include "Glossmill_ImportFilesDialog.h"
#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "Glossmill_NewLangDialog.h"
#include "Glossmill_types.h"
#include "TTranslateItem.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <exception>
#include <memory>
#include <typeinfo>

namespace {

QString DefaultFolderName(tResourceType resType)
{
    return resType == rtAndroid_menu ? QStringLiteral("menu") : QStringLiteral("values");
}

// The folder made for a language of a type: "values-" or "menu-" and the qualifier Android reads for its row. A
// record that is no row keeps its values folder name, for menus with its first "values" (in any case) as "menu".
QString LangFolderName(const TLocaleDesc &desc, tResourceType resType)
{
    const QString qualifier = LocaleQualifier(desc);
    if (!qualifier.isEmpty())
        return DefaultFolderName(resType) + QLatin1Char('-') + qualifier;
    QString name = desc.ValuesFolderName;
    if (resType == rtAndroid_menu) {
        const int at = int(LowerCaseAZ(name).indexOf(QStringLiteral("values")));
        if (at >= 0)
            name.replace(at, 6, QStringLiteral("menu"));
    }
    return name;
}

// The direct sub-folders of `parent` whose name is `name` without regard to case (the project may come from a
// case-blind file system), the exactly named one first.
QStringList FoldersNamed(const QString &parent, const QString &name)
{
    QStringList all;
    ListSubFolders(parent, all);
    QStringList found;
    for (const QString &folder : all)
        if (SameTextAZ(folder, name)) {
            if (folder == name)
                found.prepend(folder);
            else
                found.append(folder);
        }
    return found;
}

// The sub-folder `name` of `parent` as written on disk; the name itself when there is none.
QString FolderOnDisk(const QString &parent, const QString &name)
{
    return FoldersNamed(parent, name).value(0, name);
}

// Whether `folder` holds an entry named `name` without regard to case.
bool HoldsName(const QString &folder, const QString &name)
{
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                                      QDir::NoDotAndDotDot);
    for (const QString &entry : entries)
        if (SameTextAZ(entry, name))
            return true;
    return false;
}

// A file name that stays inside the folder it is joined to.
bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

void ExpandAll(QTreeWidgetItem *node)
{
    node->setExpanded(true);
    for (int i = 0; i < node->childCount(); ++i)
        ExpandAll(node->child(i));
}

} // namespace

bool TGlossmillMainForm::LangExists(const TLocaleDesc &LocaleDesc) const
{
    for (QTreeWidgetItemIterator it(TVProject); *it; ++it) {
        auto *lang = dynamic_cast<TTransLangNode *>(NodeData(*it));
        if (lang && lang->LocaleDesc.LocaleCode == LocaleDesc.LocaleCode &&
            lang->LocaleDesc.LocaleVariant == LocaleDesc.LocaleVariant)
            return true;
    }
    return false;
}

TTransLangNode *TGlossmillMainForm::FindLangNode(const TLocaleDesc &desc) const
{
    QTreeWidgetItem *root = GetRootNode();
    for (int i = 0; root && i < root->childCount(); ++i) {
        auto *lang = dynamic_cast<TTransLangNode *>(NodeData(root->child(i)));
        if (lang && SameTextAZ(lang->LocaleDesc.ValuesFolderName, desc.ValuesFolderName))
            return lang;
    }
    return nullptr;
}

QString TGlossmillMainForm::LanguageFolderName(const TLocaleDesc &desc, tResourceType resType) const
{
    if (const TTransLangNode *lang = FindLangNode(desc)) {
        const bool menu = resType == rtAndroid_menu;
        const QString &own = menu ? lang->MenuFolder : lang->ValuesFolder;
        if (!own.isEmpty())
            return own;
        // The project's own spelling of the language (values-he, values-zh-rCN), unless it is the table's, which
        // Android may not read.
        const QString &other = menu ? lang->ValuesFolder : lang->MenuFolder;
        const QString qualifier = other.mid(other.indexOf(QLatin1Char('-')) + 1);
        if (!other.isEmpty() && !SameTextAZ(qualifier, desc.ValuesFolderName.mid(7)))
            return DefaultFolderName(resType) + QLatin1Char('-') + qualifier;
    }
    return LangFolderName(desc, resType);
}

void TGlossmillMainForm::GetMissingResFiles(const TLocaleDesc &desc, tResourceType resType, QStringList &list)
{
    try {
        const QString resFolder = GetProjectDir() + QStringLiteral("res/");
        const QString defaultFolder = resFolder + DefaultFolderName(resType) + QLatin1Char('/');
        const QString langFolder =
            resFolder + FolderOnDisk(resFolder, LanguageFolderName(desc, resType)) + QLatin1Char('/');
        QStringList defaults;
        QStringList present;
        ListXmlFiles(defaultFolder, defaults);
        ListXmlFiles(langFolder, present);
        for (const QString &name : defaults) {
            const TTransResourceFileNode *base = FindBaseFileByName(name);
            if (!base || base->TransItems().empty())
                continue;
            bool there = false;
            for (const QString &p : present)
                there = there || SameTextAZ(p, name);
            if (!there)
                list.append(name);
        }
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

TTransResourceFileNode *TGlossmillMainForm::CreateResFileFromBase(const QString &fileName, const TLocaleDesc &desc,
                                                                  tResourceType resType, tTransState state, bool clear)
{
    if (!IsPlainFileName(fileName) || FindLocaleByValuesFolder(desc.ValuesFolderName) < 0)
        return nullptr;
    const QString resFolder = GetProjectDir() + QStringLiteral("res/");
    const QString defaultFolder = resFolder + DefaultFolderName(resType) + QLatin1Char('/');
    const QString folderName = FolderOnDisk(resFolder, LanguageFolderName(desc, resType));
    const QString langFolder = resFolder + folderName + QLatin1Char('/');

    std::unique_ptr<TTransResourceFileNode> node;
    if (resType == rtAndroid_menu)
        node = std::make_unique<TTransResourceFileNode_Menu>();
    else
        node = std::make_unique<TTransResourceFileNode_Value>();

    // One level only: the res folder must be there already.
    if (!QFileInfo(langFolder).isDir() && !QDir().mkdir(langFolder))
        return nullptr;
    if (TTransLangNode *lang = FindLangNode(desc)) {
        QString &own = resType == rtAndroid_menu ? lang->MenuFolder : lang->ValuesFolder;
        if (own.isEmpty())
            own = folderName;
    }
    // The language's own file, in whatever case it is written, is never overwritten.
    if (HoldsName(langFolder, fileName))
        return nullptr;
    const QString target = langFolder + fileName;
    if (!QFile::copy(defaultFolder + fileName, target))
        return nullptr;

    node->LocaleDesc = desc;
    node->ResourceFileName = target;
    node->ResType = resType;
    node->LV = LV;
    node->TempWorkFileName.clear();
    TTransResourceFileNode *base = FindBaseTemplate(node.get());
    if (!base)
        return nullptr;
    node->setBaseTemplate(base);
    if (node->LoadResFile(node->ResourceFileName) != lrfOK || !node->Parse())
        return nullptr;
    for (const auto &item : node->TransItems()) {
        if (clear)
            item->setTranslateValue(QString());
        item->FTranslateState = state;
    }
    node->SaveFile(QString());
    return node.release();
}

void TGlossmillMainForm::AddLanguage()
{
    QStringList files;
    if (!FormNewLang)
        return;
    try {
        FormNewLang->FillList();
        if (FormNewLang->exec() != QDialog::Accepted || !FormNewLang->SelectedLocale())
            return;
        const TLocaleDesc locale = *FormNewLang->SelectedLocale();
        auto *lang = new TTransLangNode;
        lang->LocaleDesc = locale;
        lang->FNeedSave = true;
        QTreeWidgetItem *langNode = AddTreeNode(GetRootNode(), lang);

        QTreeWidgetItem *typeNodes[2] = {};
        const tResourceType types[2] = {rtAndroid_values, rtAndroid_menu};
        for (int i = 0; i < 2; ++i) {
            auto *group = new TTransResTypeNode;
            group->ResType = types[i];
            typeNodes[i] = AddTreeNode(langNode, group);
            typeNodes[i]->setExpanded(true);
        }

        if (FormNewLang->CHBIncFiles->isChecked()) {
            const TransOptions::TChoice choice = TransOptions::ChoiceOf(FormNewLang->RGTransOptions->ItemIndex());
            // Menus first, then values, each under its own type node.
            for (int i : {1, 0}) {
                files.clear();
                GetMissingResFiles(locale, types[i], files);
                for (const QString &name : files)
                    if (TTransResourceFileNode *file =
                            CreateResFileFromBase(name, locale, types[i], choice.State, choice.Clear))
                        AddTreeNode(typeNodes[i], file);
            }
        }

        GetRootNode()->setExpanded(true);
        ExpandAll(langNode);
        TVProject->setCurrentItem(langNode);
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

bool TGlossmillMainForm::AddResourceFiles(bool showDialog)
{
    bool result = false;
    QStringList files;
    try {
        QTreeWidgetItem *selected = TVProject->currentItem();
        TTransNode *data = NodeData(selected);
        if (!data || typeid(*data) != typeid(TTransResTypeNode))
            return false;
        auto *lang = dynamic_cast<TTransLangNode *>(NodeData(selected->parent()));
        if (!lang)
            return false;
        const tResourceType resType = static_cast<TTransResTypeNode *>(data)->ResType;
        const TLocaleDesc locale = lang->LocaleDesc;
        GetMissingResFiles(locale, resType, files);
        result = !files.isEmpty();
        if (showDialog && FormAddFiles) {
            FormAddFiles->SetFileNames(files);
            if (FormAddFiles->exec() == QDialog::Accepted) {
                const TransOptions::TChoice choice =
                    TransOptions::ChoiceOf(FormAddFiles->RGTransOptions->ItemIndex());
                for (const QString &name : FormAddFiles->CheckedFileNames())
                    if (TTransResourceFileNode *file =
                            CreateResFileFromBase(name, locale, resType, choice.State, choice.Clear))
                        AddTreeNode(selected, file);
                ExpandAll(selected);
            }
        }
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
    // The selection stays where it was, so nothing else refreshes the commands for the files just added.
    if (showDialog)
        SetControls();
    return result;
}

void TGlossmillMainForm::DeleteLanguage()
{
    QTreeWidgetItem *selected = TVProject->currentItem();
    auto *lang = dynamic_cast<TTransLangNode *>(NodeData(selected));
    if (!lang)
        return;
    const auto answer = QMessageBox::question(
        this, QStringLiteral("Delete Language"),
        QStringLiteral("Are You sure to delete resource folders include resource files for language ") +
            lang->GetTreeText(),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes)
        return;

    // Deletion is for good: only the values and menu folders that name this language's table row, and only as
    // direct children of the project's res folder. A record that is no table row names nothing to delete. A folder
    // of the row that the tree does not show (values-he beside values-iw) goes too, or the language would be back
    // at the next open.
    const int row = FindLocaleByValuesFolder(lang->LocaleDesc.ValuesFolderName);
    if (!PackageName.isEmpty() && row > 0) {
        const QString resFolder = GetProjectDir() + QStringLiteral("res/");
        QStringList folders;
        ListSubFolders(resFolder, folders);
        for (bool menus : {true, false})
            for (const QString &folder : folders) {
                bool menu = false;
                if (FindLocaleByLanguageFolder(folder, &menu) == row && menu == menus) {
                    int code = 0;
                    DeleteFolderTree(resFolder + folder, code);
                }
            }
    }

    LItem = nullptr;
    {
        // No selection change may reach the objects being freed; the item list may still show their items.
        const QSignalBlocker treeSignals(TVProject);
        FreeNodeData(selected);
        LV->clear();
        delete selected;
    }
    // The tree may already have moved its selection to the root while its signals were blocked.
    if (TVProject->currentItem() == GetRootNode())
        TVProjectChange(GetRootNode());
    else
        TVProject->setCurrentItem(GetRootNode());
}

void TGlossmillMainForm::BAddLangClick()
{
    AddLanguage();
}

void TGlossmillMainForm::PMAddLanguageClick()
{
    AddLanguage();
}

void TGlossmillMainForm::BAddResFile2Click()
{
    AddResourceFiles(true);
}

void TGlossmillMainForm::PMAddResourceClick()
{
    AddResourceFiles(true);
}

void TGlossmillMainForm::PMDeleteLanguageClick()
{
    DeleteLanguage();
}

void TGlossmillMainForm::BLangDeleteOnTabClick()
{
    DeleteLanguage();
}
