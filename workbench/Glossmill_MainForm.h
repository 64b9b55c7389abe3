#pragma once
#include <QEvent>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QCommandLinkButton;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class QTextEdit;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineView;
class QWidget;

class TFWebBrowsing;
class TSelectDirectory;
class TTransLangNode;
class TTransNode;
class TTransResourceFileNode;
class TXmlDocument;
class TTranslateItem;
struct TLocaleDesc;
enum tTransState : unsigned char;
enum tResourceType : unsigned char;

// The posted request that opens the in-place editor on a row (the window's WM_USER+16).
class TEditSubItemEvent : public QEvent
{
public:
    static constexpr QEvent::Type EventType = QEvent::Type(QEvent::User + 16);
    explicit TEditSubItemEvent(int row) : QEvent(EventType), Row(row) {}
    int Row;
};

// The program's main window: project tree, item list, web translator, notepad and welcome page.
// The frame lives in Glossmill_MainForm.cpp; each group of commands has a file of its own
// (Glossmill_MainForm_<subject>.cpp).
class TGlossmillMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TGlossmillMainForm(QWidget *parent = nullptr);
    ~TGlossmillMainForm() override;

    // ---- Fields ----
    int ColumnToSort = 0;
    bool FirstResize = true;
    // Own the default files; language files hang on tree nodes.
    std::vector<std::unique_ptr<TTransResourceFileNode>> BaseResourceFileValues;
    std::vector<std::unique_ptr<TTransResourceFileNode>> BaseResourceFileMenus;
    QTreeWidgetItem *LItem = nullptr;
    // The file whose row LItem is: a stored edit's undo record goes to it, also once the tree has moved on.
    TTransResourceFileNode *FEditFile = nullptr;
    QString ManifestFile;
    QString PackageName;
    QLineEdit *ListViewEditor = nullptr;
    bool FirstShowItems = true;
    bool EnableScrollWebPage = false;
    // The item list columns' stored widths (their Tag).
    int LVColumnTag[4] = {0, 0, 0, 0};

    // ---- Components ----
    QMenuBar *MM = nullptr;
    QMenu *MMFile = nullptr;
    QAction *MMOpenProject = nullptr;
    QMenu *MMReopen = nullptr;
    QAction *MMSave = nullptr;
    QAction *MMSaveAll = nullptr;
    QAction *MMCloseProject = nullptr;
    QAction *OpenExampleProject1 = nullptr;
    QAction *MMOptions = nullptr;
    QAction *MMExit = nullptr;
    QMenu *MMHelp = nullptr;
    QAction *About2 = nullptr;

    QMenu *PMTree = nullptr;
    QAction *PMAddLanguage = nullptr;
    QAction *PMAddResource = nullptr;
    QAction *PMDeleteLanguage = nullptr;

    QMenu *PMFilter = nullptr;
    QAction *PMFilterAll = nullptr;
    QAction *PMFilterAllexcludemarkedasDonttranslate = nullptr;
    QAction *PMFilterTranslated = nullptr;
    QAction *PMFilterNeedbeter = nullptr;
    QAction *PMFilterFinal = nullptr;
    QAction *PMFilterDontTrans = nullptr;

    QMenu *PMMarkTranslation = nullptr;
    QAction *FinalTrnslation1 = nullptr;
    QAction *NeedBetter1 = nullptr;
    QAction *Donottranslate1 = nullptr;

    QFrame *Panel1 = nullptr;
    QFrame *Panel11 = nullptr;
    QToolButton *SBOpenProject = nullptr;
    QToolButton *SBSAve = nullptr;
    QToolButton *SBSaveAll = nullptr;
    QToolButton *SBExpand = nullptr;
    QToolButton *SBColapse = nullptr;
    QLabel *LBPackageName = nullptr;

    QSplitter *Splitter1 = nullptr;
    QFrame *Panel3 = nullptr;
    QTreeWidget *TVProject = nullptr;
    QSplitter *Splitter2 = nullptr;
    QFrame *Panel2 = nullptr;
    QFrame *Panel8 = nullptr;

    QTabWidget *PageControl1 = nullptr;
    QWidget *TBGoogle = nullptr;
    QFrame *Panel4 = nullptr;
    QPushButton *BLoadTrans = nullptr;
    QLineEdit *EDDefaultLocaleCode = nullptr;
    QToolButton *SBShowDefaultLocales = nullptr;
    QLineEdit *EDTargetLocale = nullptr;
    QToolButton *SBSelectTargetLocale = nullptr;
    QCheckBox *CHAutoLocale = nullptr;
    QCheckBox *CHBUseWebTranslator = nullptr;
    QWebEngineView *WBGoogle = nullptr;
    QWidget *TabSheet2 = nullptr;
    QTextEdit *RENotepad = nullptr;

    QTabWidget *MainPG = nullptr;
    QWidget *TBTranslationGrid = nullptr;
    QFrame *Panel10 = nullptr;
    QToolButton *SBUndo = nullptr;
    QToolButton *SBREdo = nullptr;
    QPushButton *BFilter = nullptr;
    QTreeWidget *LV = nullptr;
    QFrame *PTranslateTool = nullptr;
    QPushButton *BAcceptFromGoogle = nullptr;
    QPushButton *BMarkAs = nullptr;
    QPushButton *BCopyBase = nullptr;
    QPushButton *SBEditInWindow = nullptr;

    QWidget *TBLangNode = nullptr;
    QLabel *LBLangName = nullptr;
    QLabel *LBLocaleCode = nullptr;
    QLabel *LBLOCVariant = nullptr;
    QLabel *LBValuesFolderName = nullptr;
    QLabel *LBMenuFolderName = nullptr;
    QCommandLinkButton *BLangDeleteOnTab = nullptr;

    QWidget *TBResType = nullptr;
    QLabel *IMMenu = nullptr;
    QLabel *IMString = nullptr;
    QLabel *LBREsTypeInfo = nullptr;
    QCommandLinkButton *BAddResFile2 = nullptr;

    QWidget *TBRoot = nullptr;
    QTabWidget *PGWelcome = nullptr;
    QScrollArea *TBWelcomeHome = nullptr;
    QLabel *LBProjNameOnWelcome = nullptr;
    QLabel *LBPackageNameOnWelcome = nullptr;
    QCommandLinkButton *BWelOpenProject = nullptr;
    QCommandLinkButton *BWellAddLang = nullptr;
    QLabel *LBREcent0 = nullptr;
    QLabel *LBREcent1 = nullptr;
    QLabel *LBREcent2 = nullptr;
    QLabel *LBREcent3 = nullptr;
    QLabel *LBREcent4 = nullptr;
    QWidget *TBOnlineHelp = nullptr;
    TFWebBrowsing *FWebBrowsingHelp = nullptr;
    QWidget *TBWhatIsNew = nullptr;
    TFWebBrowsing *FWebBrowsingNews = nullptr;

    QTimer *TMCheckFileChanged = nullptr;
    TSelectDirectory *JvSelectDirectoryProject = nullptr;
    // Read for nothing but the manifest's package name.
    std::unique_ptr<TXmlDocument> JvXMLManifest;

    // ---- Frame (Glossmill_MainForm.cpp) ----
    void SetControls();
    QString GetProjectDir() const;
    QTreeWidgetItem *GetRootNode() const;
    void ShowLangInfo(TLocaleDesc desc);
    void SetColumnWidths();
    void StoreColumnWidths();
    void ShowOptions();
    // The object hung on a tree node; nullptr for the root and for no node.
    static TTransNode *NodeData(const QTreeWidgetItem *node);
    // The selected tree node's object as a resource-file node, else nullptr.
    TTransResourceFileNode *SelectedFileNode() const;
    // Whether any language file of the tree needs saving; false for no project.
    bool AnyFileNeedsSave() const;

    void FormCreate();
    bool FormCloseQuery();
    // False when the notepad could not be written and the user keeps the window open.
    bool FormClose();
    void FormActivate();
    void FormResize();
    void TVProjectChange(QTreeWidgetItem *node);
    void TVProjectChanging();
    void TVProjectMouseDown(const QPoint &pos);
    void MainPGChange();
    void LVColumnClick(int column);
    int LVCompare(QTreeWidgetItem *Item1, QTreeWidgetItem *Item2) const;
    void LVResize();
    void SBExpandClick();
    void SBColapseClick();
    void MMExitClick();
    void MMOptionsClick();
    void About2Click();

    // ---- Opening and closing (Glossmill_MainForm_Project.cpp) ----
    void OpenProject(QString folder);
    bool CloseProject();
    // Lists the language node's folder of the type (none when it has no such folder).
    void AddResTypeNode(QTreeWidgetItem *langNode, const QString &resFolder, tResourceType resType);
    TTransResourceFileNode *FindBaseTemplate(const TTransResourceFileNode *node) const;
    TTransResourceFileNode *FindBaseFileByName(const QString &name) const;
    void FreeNodeData(QTreeWidgetItem *node);
    // Selects the first file of that name whose locale is `locale` as a whole (its folder), not its code alone.
    void ReopenAndSelect(const QString &fileName, const TLocaleDesc &locale);
    void MMOpenProjectClick();
    void SBOpenProjectClick();
    void OpenExampleProject1Click();
    void MMCloseProjectClick();

    // ---- Recent projects (Glossmill_MainForm_Recent.cpp) ----
    void UpdateReopen();
    void FillReopen();
    void AddToReopen();
    void MMReopenClick(QObject *Sender);
    void LBREcent0Click();
    void LBREcent1Click();
    void LBREcent2Click();
    void LBREcent3Click();
    void LBREcent4Click();

    // ---- Welcome page ----
    void PGWelcomeChange();
    void LoadWelcomePages();

    // ---- Item list editing ----
    void SetFilter(QAction *entry, tTransState state);
    void PMFilterAllClick();
    void PMFilterAllexcludemarkedasDonttranslateClick();
    void PMFilterTranslatedClick();
    void PMFilterNeedbeterClick();
    void PMFilterFinalClick();
    void PMFilterDontTransClick();
    void BFilterClick();
    void BMarkAsClick();
    void MarkTranslation(tTransState state);
    void FinalTrnslation1Click();
    void NeedBetter1Click();
    void Donottranslate1Click();
    void RememberUndo(TTransResourceFileNode *file, TTranslateItem *item);
    bool CanUndo() const;
    bool CanRedo() const;
    void DoUndo();
    void DoRedo();
    void SBUndoClick();
    void SBREdoClick();
    void CopyDefaultValue();
    void BCopyBaseClick();
    void BAcceptFromGoogleClick();
    void EditInWindow();
    void SBEditInWindowClick();
    void LVDblClick();
    int GetTranslationColumn() const;
    // A click on the list at `globalPos` (screen coordinates).
    void LVClick(const QPoint &globalPos);
    void WMEditSubItem(int row);
    // May set `key` to 0 to swallow it.
    void ListViewEditorKeyDown(int &key, Qt::KeyboardModifiers shift);
    // 0 store and keep the editor, 1 cancel and hide, 2 store and hide.
    void EndListEdit(int mode);
    // Stores an in-place edit in progress as Enter does; the commands run it first, so that what they read, write or
    // ask about holds the typed text. False when the store failed (it beeps) and the edit is still open.
    bool StorePendingEdit();
    void LVExit();
    // True when the wheel event was handled and must not take its default course.
    bool HandleMouseWheel(Qt::KeyboardModifiers shift, int wheelDelta, const QPoint &mousePos);
    // Rows first to last of the list are about to go: an in-place edit of one of them is dropped.
    void ListRowsGoing(int first, int last);

    // ---- Saving, outside-change detection and reload ----
    void SaveSelected();
    // SaveFile, then the work and backup files removed; a failure shows its own "Save Error" box. A file that another
    // program changed is written only after the user's Yes. False when the file was not saved.
    bool SaveFileNode(TTransResourceFileNode *file);
    // True when every file that needed saving was saved.
    bool SaveAll();
    void SBSAveClick();
    void MMSaveClick();
    void SBSaveAllClick();
    void MMSaveAllClick();
    void CheckFileChanged();
    void CancelEdit();
    bool SaveAllAndReload();
    bool ReloadSelected();
    void TMCheckFileChangedTimer();
    // Above 0 while a command of the window waits in a modal box (the check's own questions, a save error, the edit
    // window): the activation when the box closes must not ask, reload or reopen under the waiting command.
    int FFileCheckHeld = 0;
    // Holds the outside-change check for its own lifetime.
    class TFileCheckHold
    {
    public:
        explicit TFileCheckHold(TGlossmillMainForm *form) : m_form(form) { ++m_form->FFileCheckHeld; }
        ~TFileCheckHold() { --m_form->FFileCheckHeld; }
        TFileCheckHold(const TFileCheckHold &) = delete;
        TFileCheckHold &operator=(const TFileCheckHold &) = delete;

    private:
        TGlossmillMainForm *m_form;
    };

    // ---- Languages and resource files ----
    void AddLanguage();
    bool AddResourceFiles(bool showDialog);
    void GetMissingResFiles(const TLocaleDesc &desc, tResourceType resType, QStringList &list);
    TTransResourceFileNode *CreateResFileFromBase(const QString &fileName, const TLocaleDesc &desc,
                                                  tResourceType resType, tTransState state, bool clear);
    void DeleteLanguage();
    bool LangExists(const TLocaleDesc &LocaleDesc) const;
    // The language node of the tree for the row of desc; none when the tree has none.
    TTransLangNode *FindLangNode(const TLocaleDesc &desc) const;
    // The folder under res for a language's files of a type: the one its language node was found in or made, else
    // one in the spelling of its folder of the other type, else the one made for its row (LocaleQualifier).
    QString LanguageFolderName(const TLocaleDesc &desc, tResourceType resType) const;
    void BAddLangClick();
    void PMAddLanguageClick();
    void BAddResFile2Click();
    void PMAddResourceClick();
    void PMDeleteLanguageClick();
    void BLangDeleteOnTabClick();

    // ---- Web translator ----
    void TranslateInWeb();
    void UpdateTargetLocale();
    void BLoadTransClick();
    void LVChange();
    // The automatic refresh of the page on a change in the item list (LVChange's part after SetControls).
    void AutoRefreshTranslation();
    void CHAutoLocaleClick();
    void SBShowDefaultLocalesClick();
    void SBSelectTargetLocaleClick();
    // ok: the view's load finished with a page (false for a failed or stopped load).
    void WBGoogleNavigateComplete2(bool ok);
    // The view shows a new address: with no page loading, a request moved within the page shown.
    void WBGoogleUrlChanged();

signals:
    // Each address the window hands the translator pane to load.
    void TranslatorPageRequested(const QUrl &address);

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void CreateMenus();
    void CreateLayout();
    QWidget *CreateTopBar();
    QWidget *CreateItemsTab();
    QWidget *CreateLanguageTab();
    QWidget *CreateResTypeTab();
    QWidget *CreateWelcomeTab();
    QWidget *CreateBottomPane();
    void ConnectHandlers();
    void ShowOnlyTab(QWidget *tab);
    // A modal box with the error icon and OK, owned by the window.
    void ShowErrorBox(const QString &caption, const QString &text);
    // Appends a tree node for `object` under `parent` (text, object, icon); the object stays the window's.
    QTreeWidgetItem *AddTreeNode(QTreeWidgetItem *parent, TTransNode *object);
    // Closing without the question: releases the tree's objects and the default files, resets the pages.
    void ResetProject();
    void LoadNotepad();
    // False when the notepad could not be written and the user chose to keep the window open.
    bool SaveNotepad();
    // The notepad as it was loaded, in the form it is written: unchanged, the file is left as it is.
    QByteArray FNotepadAtLoad;
    // The notepad file is too large to read, so it is never written over.
    bool FNotepadTooLarge = false;
};

// The one main window of the run.
extern TGlossmillMainForm *GlossmillMainForm;
