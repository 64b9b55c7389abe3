// Opening and closing a project: the manifest, the default files, the language folders and the tree.
#include "Glossmill_MainForm.h"

#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "GlossmillXml.h"
#include "Glossmill_types.h"
#include "RtfText.h"
#include "TSelectDirectory.h"

#include <QScrollArea>
#include <QLineEdit>
#include <QToolButton>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMessageBox>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

namespace {

// The file name after the last "/".
QString FileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Ascending, letters a to z compared without regard to case.
bool LessAZ(const QString &a, const QString &b)
{
    return UpperCaseAZ(a) < UpperCaseAZ(b);
}

// The first attribute of the root, in document order, whose name without its prefix is "package" in any case of
// letters; empty when there is none.
QString ManifestPackage(const TXmlDocument &manifest)
{
    for (const pugi::xml_attribute &a : manifest.Root().attributes())
        if (SameTextAZ(GlossmillXml::LocalName(a), QStringLiteral("package")))
            return GlossmillXml::ReadAttribute(a);
    return QString();
}

// How well a folder's qualifier spells its row, lowest best: the table's own name, then in other case (a project
// kept on a case-blind file system), then the form Glossmill makes, then any other form Android reads as the row.
int SpellingRank(const QString &qualifier, const TLocaleDesc &row)
{
    const QString own = row.ValuesFolderName.mid(7);
    const QString made = LocaleQualifier(row);
    if (qualifier == own)
        return 0;
    if (SameTextAZ(qualifier, own))
        return 1;
    if (qualifier == made)
        return 2;
    if (SameTextAZ(qualifier, made))
        return 3;
    return 4;
}

// The folders of one language found in res: per type the best spelled, the first of the listing among equals.
struct TLanguageFolders
{
    int Row = -1;
    QString Values, Menu;
    int ValuesRank = 5, MenuRank = 5;
};

// Loads a default file into its list; false when it does not load, and it is then no default file.
bool AddDefaultFile(std::unique_ptr<TTransResourceFileNode> node, const QString &path,
                    std::vector<std::unique_ptr<TTransResourceFileNode>> &list)
{
    if (node->LoadResFile(path) != lrfOK)
        return false;
    node->LocaleDesc.LocaleName = QStringLiteral("default");
    node->Parse();
    list.push_back(std::move(node));
    return true;
}

void ExpandWithDescendants(QTreeWidgetItem *node)
{
    node->setExpanded(true);
    for (int i = 0; i < node->childCount(); ++i)
        ExpandWithDescendants(node->child(i));
}

} // namespace

void TGlossmillMainForm::OpenProject(QString folder)
{
    try {
        JvSelectDirectoryProject->InitialDir.clear();
        JvSelectDirectoryProject->Title = LocalizeText(QStringLiteral("Open Android Project Directory"));
        if (folder.size() > 1 && folder.at(0) == QLatin1Char('@')) {
            JvSelectDirectoryProject->Title = LocalizeText(QStringLiteral("Open This Example Project Directory"));
            JvSelectDirectoryProject->InitialDir = folder.mid(1);
            folder.clear();
        }
        if (folder.isEmpty()) {
            if (!JvSelectDirectoryProject->Execute() || JvSelectDirectoryProject->Directory.size() < 2)
                return;
            folder = JvSelectDirectoryProject->Directory;
        }
        if (!CloseProject())
            return;
        ManifestFile.clear();
        PackageName.clear();
        SetControls();

        ManifestFile = folder;
        if (!ManifestFile.endsWith(QLatin1Char('/')))
            ManifestFile += QLatin1Char('/');
        const QString resFolder = ManifestFile + QStringLiteral("res/");
        ManifestFile += QStringLiteral("AndroidManifest.xml");
        if (!QFileInfo(ManifestFile).isFile()) {
            ManifestFile.clear();
            PackageName.clear();
            SetControls();
            ShowErrorBox(LocalizeText(QStringLiteral("Can not open project")),
                         LocalizeText(QStringLiteral("Can't find AndroidManifest.xml, please open root of the project "
                                                     "with AndroidManifest.xml file.")));
            return;
        }
        JvXMLManifest->LoadFromFile(ManifestFile);
        PackageName = ManifestPackage(*JvXMLManifest);
        if (PackageName.isEmpty()) {
            SetControls();
            ShowErrorBox(LocalizeText(QStringLiteral("Can not open project")),
                         LocalizeText(QStringLiteral("Can't recognize PACKAGE in Manifest File")));
            return;
        }

        // A default file that does not load takes every language's file of its name out of the tree: the translator
        // is told, as for a language file, and the rest of the project opens.
        auto addDefault = [this](std::unique_ptr<TTransResourceFileNode> node, const QString &path,
                                 std::vector<std::unique_ptr<TTransResourceFileNode>> &list) {
            if (!AddDefaultFile(std::move(node), path, list))
                ShowErrorBox(QStringLiteral("Resource File Error"),
                             LocalizeText(QStringLiteral("Can't parse/open/recreate file ") + path));
        };
        const QString valuesFile = resFolder + QStringLiteral("values/strings.xml");
        if (QFileInfo::exists(valuesFile))
            addDefault(std::make_unique<TTransResourceFileNode_Value>(), valuesFile, BaseResourceFileValues);
        QStringList menuFiles;
        ListXmlFiles(resFolder + QStringLiteral("menu/"), menuFiles);
        for (const QString &name : menuFiles) {
            const QString path = resFolder + QStringLiteral("menu/") + name;
            if (LowerCaseAZ(path).endsWith(QStringLiteral(".xml")))
                addDefault(std::make_unique<TTransResourceFileNode_Menu>(), path, BaseResourceFileMenus);
        }

        // One language per table row that a folder names, however many folders name it; of several folders of
        // one type only the best spelled one is the language's (values-iw over values-he), the others are not shown.
        QStringList folders;
        ListSubFolders(resFolder, folders);
        QHash<int, TLanguageFolders> byRow;
        for (const QString &name : folders) {
            bool menu = false;
            const int row = FindLocaleByLanguageFolder(name, &menu);
            if (row < 0)
                continue;
            TLanguageFolders &found = byRow[row];
            found.Row = row;
            const int rank = SpellingRank(name.mid(menu ? 5 : 7), LocaleTable(row));
            int &best = menu ? found.MenuRank : found.ValuesRank;
            if (rank < best) {
                (menu ? found.Menu : found.Values) = name;
                best = rank;
            }
        }
        std::vector<TLanguageFolders> languages(byRow.cbegin(), byRow.cend());
        std::sort(languages.begin(), languages.end(), [](const TLanguageFolders &a, const TLanguageFolders &b) {
            return LessAZ(LocaleTable(a.Row).ValuesFolderName, LocaleTable(b.Row).ValuesFolderName);
        });
        QTreeWidgetItem *root = GetRootNode();
        for (const TLanguageFolders &found : languages) {
            if (BaseResourceFileValues.empty() && BaseResourceFileMenus.empty())
                break;
            auto *lang = new TTransLangNode;
            lang->LocaleDesc = LocaleTable(found.Row);
            lang->ValuesFolder = found.Values;
            lang->MenuFolder = found.Menu;
            QTreeWidgetItem *langNode = AddTreeNode(root, lang);
            if (!BaseResourceFileValues.empty())
                AddResTypeNode(langNode, resFolder, rtAndroid_values);
            if (!BaseResourceFileMenus.empty())
                AddResTypeNode(langNode, resFolder, rtAndroid_menu);
        }

        AddToReopen();
        QTreeWidgetItem *rootNode = GetRootNode();
        rootNode->setExpanded(true);
        if (rootNode->childCount() > 0)
            ExpandWithDescendants(rootNode->child(0));
        SetControls();
        SetColumnWidths();
        MainPG->setCurrentWidget(TBRoot);
        PGWelcome->setCurrentWidget(TBWelcomeHome);
        TVProject->setCurrentItem(rootNode);
        rootNode->setText(0, QStringLiteral("Localization of ") + PackageName);
        TMCheckFileChanged->start();
    } catch (const std::exception &e) {
        PackageName.clear();
        ManifestFile.clear();
        SetControls();
        LogException(&e, QString());
        ShowErrorBox(QStringLiteral("Can not open project"), QStringLiteral("Can't open ManifestFile.xml"));
    }
}

void TGlossmillMainForm::ShowErrorBox(const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, this);
    // The texts carry paths from the project, which may hold anything that looks like markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QTreeWidgetItem *TGlossmillMainForm::AddTreeNode(QTreeWidgetItem *parent, TTransNode *object)
{
    auto *node = new QTreeWidgetItem(parent, QStringList(object->GetTreeText()));
    SetTreeItemNode(node, object);
    object->SetTreeIcon(TVProject);
    return node;
}

void TGlossmillMainForm::AddResTypeNode(QTreeWidgetItem *langNode, const QString &resFolder, tResourceType resType)
{
    auto *group = new TTransResTypeNode;
    group->ResType = resType;
    QTreeWidgetItem *groupNode = AddTreeNode(langNode, group);

    const auto *lang = static_cast<TTransLangNode *>(NodeData(langNode));
    const TLocaleDesc desc = lang->LocaleDesc;
    const QString folderName = resType == rtAndroid_menu ? lang->MenuFolder : lang->ValuesFolder;
    if (folderName.isEmpty())
        return;
    QStringList names;
    ListXmlFiles(resFolder + folderName + QLatin1Char('/'), names);
    for (const QString &name : names) {
        const QString path = resFolder + folderName + QLatin1Char('/') + name;
        std::unique_ptr<TTransResourceFileNode> node;
        if (resType == rtAndroid_menu)
            node = std::make_unique<TTransResourceFileNode_Menu>();
        else
            node = std::make_unique<TTransResourceFileNode_Value>();
        node->LV = LV;
        node->LocaleDesc = desc;
        node->ResourceFileName = path;
        node->ResType = resType;
        TTransResourceFileNode *base = FindBaseTemplate(node.get());
        if (!base)
            continue;
        node->setBaseTemplate(base);
        node->LoadResFile(path);
        if (node->Parse()) {
            AddTreeNode(groupNode, node.release());
        } else {
            ShowErrorBox(QStringLiteral("Resource File Error"),
                         LocalizeText(QStringLiteral("Can't parse/open/recreate file ") + path));
        }
    }
}

TTransResourceFileNode *TGlossmillMainForm::FindBaseTemplate(const TTransResourceFileNode *node) const
{
    const auto &list = node->ResType == rtAndroid_values ? BaseResourceFileValues : BaseResourceFileMenus;
    const QString name = UpperCaseAZ(FileNameOf(node->ResourceFileName));
    for (const auto &base : list)
        if (UpperCaseAZ(FileNameOf(base->ResourceFileName)) == name)
            return base.get();
    return nullptr;
}

TTransResourceFileNode *TGlossmillMainForm::FindBaseFileByName(const QString &name) const
{
    const QString wanted = UpperCaseAZ(FileNameOf(name));
    for (const auto *list : {&BaseResourceFileMenus, &BaseResourceFileValues})
        for (const auto &base : *list)
            if (UpperCaseAZ(FileNameOf(base->ResourceFileName)) == wanted)
                return base.get();
    return nullptr;
}

bool TGlossmillMainForm::CloseProject()
{
    // An edit in progress is unsaved work that the question must count; one that cannot be stored keeps it open.
    bool result = StorePendingEdit();
    if (result && SBSaveAll->isEnabled() && !PackageName.isEmpty()) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("Save File?"), QStringLiteral("Some files not saved! Save File(s) before close project?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes)
            result = SaveAll();
        else if (answer != QMessageBox::No)
            result = false;
    }
    if (result)
        ResetProject();
    SetControls();
    return result;
}

void TGlossmillMainForm::ResetProject()
{
    QTreeWidgetItem *root = GetRootNode();
    if (!root)
        return;
    {
        // The rows show items of the files about to be freed, and no selection change may reach a freed object.
        const QSignalBlocker treeSignals(TVProject);
        const QSignalBlocker listSignals(LV);
        LItem = nullptr;
        if (ListViewEditor)
            ListViewEditor->hide();
        LV->clear();
        TVProject->setCurrentItem(root);
        FreeNodeData(root);
        qDeleteAll(root->takeChildren());
    }
    BaseResourceFileValues.clear();
    BaseResourceFileMenus.clear();
    for (QWidget *tab : {TBTranslationGrid, TBLangNode, TBResType})
        MainPG->setTabVisible(MainPG->indexOf(tab), false);
    MainPG->setTabVisible(MainPG->indexOf(TBRoot), true);
    MainPG->setCurrentWidget(TBRoot);
    PackageName.clear();
    ManifestFile.clear();
    root->setText(0, QStringLiteral("Localization (no openned project)"));
}

void TGlossmillMainForm::FreeNodeData(QTreeWidgetItem *node)
{
    try {
        if (TTransNode *object = NodeData(node)) {
            SetTreeItemNode(node, nullptr);
            delete object;
        }
        for (int i = 0; i < node->childCount(); ++i)
            FreeNodeData(node->child(i));
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

void TGlossmillMainForm::ReopenAndSelect(const QString &fileName, const TLocaleDesc &locale)
{
    if (PackageName.isEmpty())
        return;
    const QString package = PackageName;
    const QString folder = GetProjectDir();
    CloseProject();
    OpenProject(folder);
    if (PackageName != package)
        return;
    for (QTreeWidgetItemIterator it(TVProject); *it; ++it) {
        auto *file = dynamic_cast<TTransResourceFileNode *>(NodeData(*it));
        // Regions (en-rGB, en-rAU) and scripts share a code: only the folder tells the locale apart.
        if (file && FileNameOf(file->ResourceFileName) == fileName &&
            file->LocaleDesc.ValuesFolderName == locale.ValuesFolderName) {
            (*it)->setExpanded(true);
            TVProject->setCurrentItem(*it);
            return;
        }
    }
}

void TGlossmillMainForm::MMOpenProjectClick()
{
    OpenProject(QString());
}

void TGlossmillMainForm::SBOpenProjectClick()
{
    OpenProject(QString());
}

void TGlossmillMainForm::OpenExampleProject1Click()
{
    OpenProject(QStringLiteral("@") + GetExampleProjectFolder());
}

void TGlossmillMainForm::MMCloseProjectClick()
{
    CloseProject();
}

// ---------------------------------------------------------------------------------------------------------------
// Notepad

void TGlossmillMainForm::LoadNotepad()
{
    QFile f(GetNotepadFileName());
    FNotepadTooLarge = f.size() > RtfMaxSize;
    // A notepad that cannot be read leaves the box as it is.
    if (!FNotepadTooLarge && f.exists() && f.open(QIODevice::ReadOnly))
        RtfToDocument(f.readAll(), RENotepad->document());
    FNotepadAtLoad = DocumentToRtf(RENotepad->document());
}

bool TGlossmillMainForm::SaveNotepad()
{
    const QByteArray rtf = DocumentToRtf(RENotepad->document());
    // Unchanged notes leave the file as it is, with what the reader does not keep (pictures, tables).
    if (rtf == FNotepadAtLoad)
        return true;
    if (!FNotepadTooLarge) {
        // Written beside and then moved into place, so a failed write never leaves half a notepad.
        QSaveFile f(GetNotepadFileName());
        if (f.open(QIODevice::WriteOnly)) {
            f.write(rtf);
            if (f.commit())
                return true;
        }
    }
    if (RENotepad->document()->isEmpty())
        return true;
    const auto answer = QMessageBox::warning(
        this, QStringLiteral("Notepad"),
        QStringLiteral("Can not save notepad to file ") + GetNotepadFileName() +
            QStringLiteral("\r\n\r\nClose anyway? The text of the notepad will be lost."),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}
