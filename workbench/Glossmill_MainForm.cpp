#include "Glossmill_MainForm.h"

#include "APPsplash.h"
#include "AppImages.h"
#include "FrameWebBrowsing.h"
#include "Glossmill_Misc.h"
#include "GlossmillXml.h"
#include "Glossmill_types.h"
#include "Glossmill_LocaleConst.h"
#include "TSelectDirectory.h"
#include "TTranslateItem.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCommandLinkButton>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEngineView>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <typeinfo>

TGlossmillMainForm *GlossmillMainForm = nullptr;

namespace {

const QColor ValueBlue(0, 120, 215);

QLabel *ValueLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, ValueBlue);
    l->setPalette(p);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Values come from the project (package name, paths): markup in them is text, never formatting.
    l->setTextFormat(Qt::PlainText);
    return l;
}

QToolButton *SpeedButton(const QString &name, const QString &icon, const QString &hint, QWidget *parent,
                         const QSize &size = QSize(31, 30))
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(AppImages::Icon(icon));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setFixedSize(size);
    b->setToolTip(hint);
    return b;
}

QPushButton *Button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QCommandLinkButton *CommandLink(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QCommandLinkButton(caption, parent);
    b->setObjectName(name);
    b->setMaximumWidth(320);
    return b;
}

QLabel *Picture(const QString &name, const QString &icon, QWidget *parent)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setPixmap(AppImages::Icon(icon).pixmap(16, 16));
    l->setFixedSize(16, 16);
    return l;
}

QLabel *BoldLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QFrame *Panel(const QString &name, QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setObjectName(name);
    return f;
}

QAction *MenuItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

QWidget *Page(const QString &name, QWidget *parent = nullptr)
{
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    return w;
}

// Case folds the letters a to z only; otherwise compares UTF-16 code units, a prefix first.
int CompareTextAZ(const QString &a, const QString &b)
{
    const int n = std::min(a.size(), b.size());
    for (int i = 0; i < n; ++i) {
        ushort ca = a.at(i).unicode();
        ushort cb = b.at(i).unicode();
        if (ca >= 'a' && ca <= 'z')
            ca -= 'a' - 'A';
        if (cb >= 'a' && cb <= 'z')
            cb -= 'a' - 'A';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Lets the window see every wheel event aimed at one of its controls before the control does.
class TWheelHook : public QObject
{
public:
    explicit TWheelHook(TGlossmillMainForm *form) : QObject(form), m_form(form) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::Wheel)
            return false;
        auto *w = qobject_cast<QWidget *>(watched);
        if (!w || w->window() != m_form)
            return false;
        auto *we = static_cast<QWheelEvent *>(e);
        return m_form->HandleMouseWheel(we->modifiers(), we->angleDelta().y(), we->globalPosition().toPoint());
    }

private:
    TGlossmillMainForm *m_form;
};

} // namespace

TGlossmillMainForm::TGlossmillMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("GlossmillMainForm"));
    setWindowTitle(QStringLiteral("Vorel Glossmill Manager"));
    setMinimumSize(850, 543);
    resize(834, 645);
    if (!GlossmillMainForm)
        GlossmillMainForm = this;
    CreateMenus();
    CreateLayout();
    TMCheckFileChanged = new QTimer(this);
    TMCheckFileChanged->setObjectName(QStringLiteral("TMCheckFileChanged"));
    TMCheckFileChanged->setInterval(3000);
    JvSelectDirectoryProject = new TSelectDirectory(this);
    JvSelectDirectoryProject->setObjectName(QStringLiteral("JvSelectDirectoryProject"));
    JvXMLManifest = std::make_unique<TXmlDocument>();
    ConnectHandlers();
    FormCreate();
}

TGlossmillMainForm::~TGlossmillMainForm()
{
    // The list empties itself while the children go, when this object is no window any more.
    disconnect(LV->model(), nullptr, this, nullptr);
    ResetProject();
    if (GlossmillMainForm == this)
        GlossmillMainForm = nullptr;
}

// ---------------------------------------------------------------------------------------------------------------
// Layout

void TGlossmillMainForm::CreateMenus()
{
    MM = menuBar();
    MM->setObjectName(QStringLiteral("MM"));
    MMFile = MM->addMenu(QStringLiteral("File"));
    MMFile->setObjectName(QStringLiteral("MMFile"));
    MMOpenProject = MenuItem(MMFile, "MMOpenProject", "Open Android Project Folder..");
    MMReopen = MMFile->addMenu(QStringLiteral("Reopen.."));
    MMReopen->setObjectName(QStringLiteral("MMReopen"));
    MMReopen->menuAction()->setObjectName(QStringLiteral("MMReopenItem"));
    MMSave = MenuItem(MMFile, "MMSave", "Save");
    MMSaveAll = MenuItem(MMFile, "MMSaveAll", "Save All");
    MMCloseProject = MenuItem(MMFile, "MMCloseProject", "Close project");
    MMFile->addSeparator();
    OpenExampleProject1 = MenuItem(MMFile, "OpenExampleProject1", "Open Example Android Project..");
    MMFile->addSeparator();
    MMOptions = MenuItem(MMFile, "MMOptions", "Options..");
    MMFile->addSeparator();
    MMExit = MenuItem(MMFile, "MMExit", "Exit");
    MMHelp = MM->addMenu(QStringLiteral("Help"));
    MMHelp->setObjectName(QStringLiteral("MMHelp"));
    About2 = MenuItem(MMHelp, "About2", "About");

    PMTree = new QMenu(this);
    PMTree->setObjectName(QStringLiteral("PMTree"));
    PMAddLanguage = MenuItem(PMTree, "PMAddLanguage", "Add Language..");
    PMAddResource = MenuItem(PMTree, "PMAddResource", "Add Resource File.. ");
    PMTree->addSeparator();
    PMDeleteLanguage = MenuItem(PMTree, "PMDeleteLanguage", "Delete Language..");

    const QList<QIcon> states = AppImages::StateImages();
    PMFilter = new QMenu(this);
    PMFilter->setObjectName(QStringLiteral("PMFilter"));
    PMFilterAll = MenuItem(PMFilter, "PMFilterAll", "All");
    PMFilterAllexcludemarkedasDonttranslate = MenuItem(PMFilter, "PMFilterAllexcludemarkedasDonttranslate",
                                                       "All (exclude marked as Don't translate)");
    PMFilterTranslated = MenuItem(PMFilter, "PMFilterTranslated", "Translated");
    PMFilterNeedbeter = MenuItem(PMFilter, "PMFilterNeedbeter", "Need Better Translation");
    PMFilterFinal = MenuItem(PMFilter, "PMFilterFinal", "Final Translation");
    PMFilterDontTrans = MenuItem(PMFilter, "PMFilterDontTrans", "Don't translate..");
    PMFilterTranslated->setIcon(states.value(5));
    PMFilterNeedbeter->setIcon(states.value(4));
    PMFilterFinal->setIcon(states.value(2));
    PMFilterDontTrans->setIcon(states.value(1));
    for (QAction *a : PMFilter->actions())
        a->setCheckable(true);
    PMFilterAll->setChecked(true);

    PMMarkTranslation = new QMenu(this);
    PMMarkTranslation->setObjectName(QStringLiteral("PMMarkTranslation"));
    FinalTrnslation1 = MenuItem(PMMarkTranslation, "FinalTrnslation1", "Final Translation");
    NeedBetter1 = MenuItem(PMMarkTranslation, "NeedBetter1", "Need Better Translation");
    Donottranslate1 = MenuItem(PMMarkTranslation, "Donottranslate1", "Don't translate..");
    FinalTrnslation1->setIcon(states.value(2));
    NeedBetter1->setIcon(states.value(4));
    Donottranslate1->setIcon(states.value(1));
}

void TGlossmillMainForm::CreateLayout()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto *v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(CreateTopBar());

    Splitter1 = new QSplitter(Qt::Horizontal, central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setOpaqueResize(true);

    Panel3 = Panel("Panel3", Splitter1);
    Panel3->setMinimumWidth(270);
    auto *lp = new QVBoxLayout(Panel3);
    lp->setContentsMargins(0, 0, 0, 0);
    TVProject = new QTreeWidget(Panel3);
    TVProject->setObjectName(QStringLiteral("TVProject"));
    TVProject->setHeaderHidden(true);
    TVProject->setColumnCount(1);
    TVProject->setIndentation(19);
    TVProject->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TVProject->setContextMenuPolicy(Qt::CustomContextMenu);
    SetListImages(TVProject, AppImages::TreeAndSmallButs());
    auto *root = new QTreeWidgetItem(TVProject, QStringList(QStringLiteral("Localizations")));
    SetTreeItemImages(root, 0, 0, 0);
    lp->addWidget(TVProject);

    Splitter2 = new QSplitter(Qt::Vertical, Splitter1);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(5);
    Splitter2->setChildrenCollapsible(false);
    Splitter2->setOpaqueResize(true);

    MainPG = new QTabWidget(Splitter2);
    MainPG->setObjectName(QStringLiteral("MainPG"));
    MainPG->addTab(CreateItemsTab(), QStringLiteral("Resource Items"));
    MainPG->addTab(CreateLanguageTab(), QStringLiteral("Language"));
    MainPG->addTab(CreateResTypeTab(), QStringLiteral("Resource Type"));
    MainPG->addTab(CreateWelcomeTab(), QStringLiteral("Wecome Page"));
    Splitter2->addWidget(MainPG);
    Splitter2->addWidget(CreateBottomPane());
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({452, 193});
    Splitter2->handle(1)->installEventFilter(this);

    Splitter1->addWidget(Panel3);
    Splitter1->addWidget(Splitter2);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({271, 558});
    for (QSplitter *s : {Splitter1, Splitter2})
        s->setStyleSheet(QStringLiteral("QSplitter::handle { background: #a0a0a0; }"));
    v->addWidget(Splitter1, 1);

    Panel8 = Panel("Panel8", central);
    Panel8->setFixedHeight(20);
    v->addWidget(Panel8);
    setCentralWidget(central);
}

QWidget *TGlossmillMainForm::CreateTopBar()
{
    Panel1 = Panel("Panel1", this);
    Panel1->setFixedHeight(64);
    auto *v = new QVBoxLayout(Panel1);
    v->setContentsMargins(2, 0, 2, 0);
    v->setSpacing(0);

    Panel11 = Panel("Panel11", Panel1);
    Panel11->setFixedHeight(33);
    auto *h1 = new QHBoxLayout(Panel11);
    h1->setContentsMargins(0, 1, 0, 1);
    h1->setSpacing(1);
    SBOpenProject = SpeedButton("SBOpenProject", "open", "Open Android Project Folder..", Panel11);
    SBSAve = SpeedButton("SBSAve", "save", "Save", Panel11);
    SBSaveAll = SpeedButton("SBSaveAll", "saveall", "Save All", Panel11);
    h1->addWidget(SBOpenProject);
    h1->addWidget(SBSAve);
    h1->addWidget(SBSaveAll);
    h1->addStretch(1);
    v->addWidget(Panel11);

    auto *h2 = new QHBoxLayout;
    h2->setSpacing(4);
    SBExpand = SpeedButton("SBExpand", "expand", "Expand", Panel1);
    SBColapse = SpeedButton("SBColapse", "collapse", "Collapse", Panel1);
    h2->addWidget(SBExpand);
    h2->addWidget(SBColapse);
    h2->addSpacing(8);
    auto *project = new QLabel(QStringLiteral("Project:"), Panel1);
    project->setObjectName(QStringLiteral("Label1"));
    h2->addWidget(project);
    LBPackageName = ValueLabel("LBPackageName", "-", Panel1);
    h2->addWidget(LBPackageName, 1);
    v->addLayout(h2);
    return Panel1;
}

QWidget *TGlossmillMainForm::CreateItemsTab()
{
    TBTranslationGrid = Page("TBTranslationGrid");
    auto *v = new QVBoxLayout(TBTranslationGrid);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    Panel10 = Panel("Panel10", TBTranslationGrid);
    Panel10->setFixedHeight(28);
    auto *top = new QHBoxLayout(Panel10);
    top->setContentsMargins(2, 1, 2, 1);
    SBUndo = SpeedButton("SBUndo", "undo", "Undo", Panel10, QSize(26, 26));
    SBREdo = SpeedButton("SBREdo", "redo", "Redo", Panel10, QSize(26, 26));
    BFilter = Button("BFilter", "Filter", Panel10);
    BFilter->setIcon(AppImages::ListSplitButtonIcon(0));
    BFilter->setLayoutDirection(Qt::RightToLeft); // picture at the right of the caption
    BFilter->setProperty("PopupMenu", QVariant::fromValue<QObject *>(PMFilter));
    top->addWidget(SBUndo);
    top->addWidget(SBREdo);
    top->addSpacing(8);
    top->addWidget(BFilter);
    top->addStretch(1);
    v->addWidget(Panel10);

    auto *mid = new QHBoxLayout;
    mid->setContentsMargins(0, 0, 5, 0);
    LV = new QTreeWidget(TBTranslationGrid);
    LV->setObjectName(QStringLiteral("LV"));
    LV->setColumnCount(4);
    LV->setHeaderLabels({QString(), QStringLiteral("ID"), QStringLiteral("Default Text"),
                         QStringLiteral("Translation")});
    LV->setRootIsDecorated(false);
    LV->setItemsExpandable(false);
    LV->setUniformRowHeights(true);
    LV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV->setSelectionMode(QAbstractItemView::SingleSelection);
    LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV->setAllColumnsShowFocus(true);
    LV->setIconSize(QSize(16, 16));
    LV->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #dcdcdc; border-bottom: 1px solid #dcdcdc; }"
        // Styled items lose the selection's background; without it the selected row's text is unreadable.
        "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
    LV->header()->setStretchLastSection(false);
    LV->header()->setSectionsMovable(false);
    LV->header()->setSectionsClickable(true);
    LV->header()->setMinimumSectionSize(0);
    SetListImages(LV, AppImages::StateImages());
    mid->addWidget(LV);
    v->addLayout(mid, 1);

    PTranslateTool = Panel("PTranslateTool", TBTranslationGrid);
    PTranslateTool->setFixedHeight(41);
    auto *bottom = new QHBoxLayout(PTranslateTool);
    bottom->setContentsMargins(0, 4, 5, 4);
    BAcceptFromGoogle = Button("BAcceptFromGoogle", "Paste from Clipboard", PTranslateTool);
    BMarkAs = Button("BMarkAs", "Mark Translation as..", PTranslateTool);
    BMarkAs->setIcon(AppImages::ListSplitButtonIcon(0));
    BMarkAs->setLayoutDirection(Qt::RightToLeft);
    BMarkAs->setProperty("PopupMenu", QVariant::fromValue<QObject *>(PMMarkTranslation));
    BCopyBase = Button("BCopyBase", "Fill by Default Value", PTranslateTool);
    SBEditInWindow = Button("SBEditInWindow", "Edit in window..", PTranslateTool);
    bottom->addWidget(BAcceptFromGoogle);
    bottom->addWidget(BMarkAs);
    bottom->addWidget(BCopyBase);
    bottom->addWidget(SBEditInWindow);
    bottom->addStretch(1);
    v->addWidget(PTranslateTool);
    return TBTranslationGrid;
}

QWidget *TGlossmillMainForm::CreateLanguageTab()
{
    TBLangNode = Page("TBLangNode");
    auto *v = new QVBoxLayout(TBLangNode);
    v->setContentsMargins(16, 16, 16, 16);
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(8);
    const char *captions[] = {"Language and localization:", "Locale Code:", "Locale Variant:",
                              "Values folder name:", "Menu folder name:"};
    LBLangName = ValueLabel("LBLangName", "-", TBLangNode);
    LBLocaleCode = ValueLabel("LBLocaleCode", "-", TBLangNode);
    LBLOCVariant = ValueLabel("LBLOCVariant", "-", TBLangNode);
    LBValuesFolderName = ValueLabel("LBValuesFolderName", "-", TBLangNode);
    LBMenuFolderName = ValueLabel("LBMenuFolderName", "-", TBLangNode);
    QLabel *values[] = {LBLangName, LBLocaleCode, LBLOCVariant, LBValuesFolderName, LBMenuFolderName};
    for (int i = 0; i < 5; ++i) {
        g->addWidget(new QLabel(QString::fromLatin1(captions[i]), TBLangNode), i, 0);
        g->addWidget(values[i], i, 1);
    }
    g->setColumnStretch(1, 1);
    v->addLayout(g);
    v->addSpacing(16);
    BLangDeleteOnTab = CommandLink("BLangDeleteOnTab", "Delete Language..", TBLangNode);
    v->addWidget(BLangDeleteOnTab);
    v->addStretch(1);
    return TBLangNode;
}

QWidget *TGlossmillMainForm::CreateResTypeTab()
{
    TBResType = Page("TBResType");
    auto *v = new QVBoxLayout(TBResType);
    v->setContentsMargins(16, 16, 16, 16);
    auto *h = new QHBoxLayout;
    auto *pictures = new QGridLayout;
    IMMenu = Picture("IMMenu", "tree3", TBResType);
    IMString = Picture("IMString", "tree2", TBResType);
    pictures->addWidget(IMMenu, 0, 0);
    pictures->addWidget(IMString, 0, 0);
    h->addLayout(pictures);
    LBREsTypeInfo = BoldLabel("Res Type", TBResType);
    LBREsTypeInfo->setObjectName(QStringLiteral("LBREsTypeInfo"));
    h->addWidget(LBREsTypeInfo, 1);
    v->addLayout(h);
    v->addSpacing(16);
    v->addWidget(new QLabel(QStringLiteral("Add untranslated resource file here:"), TBResType));
    BAddResFile2 = CommandLink("BAddResFile2", "Add Resource..", TBResType);
    v->addWidget(BAddResFile2);
    v->addStretch(1);
    return TBResType;
}

QWidget *TGlossmillMainForm::CreateWelcomeTab()
{
    TBRoot = Page("TBRoot");
    auto *v = new QVBoxLayout(TBRoot);
    v->setContentsMargins(0, 0, 0, 0);
    PGWelcome = new QTabWidget(TBRoot);
    PGWelcome->setObjectName(QStringLiteral("PGWelcome"));
    v->addWidget(PGWelcome);

    TBWelcomeHome = new QScrollArea;
    TBWelcomeHome->setObjectName(QStringLiteral("TBWelcomeHome"));
    TBWelcomeHome->setWidgetResizable(true);
    auto *home = Page("WelcomeHomeContent");
    auto *hv = new QVBoxLayout(home);
    hv->setContentsMargins(24, 20, 24, 20);
    hv->setSpacing(6);
    auto *title = new QLabel(QStringLiteral("Welcome to Vorel Glossmill for Android ver. 1.0"), home);
    title->setObjectName(QStringLiteral("LBWelcomeTitle"));
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSizeF(tf.pointSizeF() * 1.4);
    title->setFont(tf);
    hv->addWidget(title);
    hv->addSpacing(10);
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(12);
    LBProjNameOnWelcome = ValueLabel("LBProjNameOnWelcome", "-", home);
    LBPackageNameOnWelcome = ValueLabel("LBPackageNameOnWelcome", "-", home);
    g->addWidget(new QLabel(QStringLiteral("Opened Project:"), home), 0, 0);
    g->addWidget(LBProjNameOnWelcome, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Package:"), home), 1, 0);
    g->addWidget(LBPackageNameOnWelcome, 1, 1);
    g->setColumnStretch(1, 1);
    hv->addLayout(g);
    hv->addSpacing(10);
    BWelOpenProject = CommandLink("BWelOpenProject", "Open project..", home);
    BWellAddLang = CommandLink("BWellAddLang", "Add Language to project..", home);
    hv->addWidget(BWelOpenProject);
    hv->addWidget(BWellAddLang);
    hv->addSpacing(12);
    hv->addWidget(BoldLabel("Recently Opened Projects:", home));
    QLabel **links[] = {&LBREcent0, &LBREcent1, &LBREcent2, &LBREcent3, &LBREcent4};
    for (int i = 0; i < 5; ++i) {
        auto *l = new QLabel(home);
        l->setObjectName(QStringLiteral("LBREcent%1").arg(i));
        l->setCursor(Qt::PointingHandCursor);
        QFont lf = l->font();
        lf.setUnderline(true);
        l->setFont(lf);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(0, 0, 128));
        l->setPalette(p);
        l->setTextFormat(Qt::PlainText);
        l->setFixedHeight(19);
        l->installEventFilter(this);
        *links[i] = l;
        hv->addWidget(l);
    }
    hv->addStretch(1);
    TBWelcomeHome->setWidget(home);
    PGWelcome->addTab(TBWelcomeHome, QStringLiteral("Home"));

    TBOnlineHelp = Page("TBOnlineHelp");
    auto *hl = new QVBoxLayout(TBOnlineHelp);
    hl->setContentsMargins(0, 0, 0, 0);
    FWebBrowsingHelp = new TFWebBrowsing(TBOnlineHelp);
    FWebBrowsingHelp->setObjectName(QStringLiteral("FWebBrowsingHelp"));
    FWebBrowsingHelp->EDURL->setVisible(false);
    hl->addWidget(FWebBrowsingHelp);
    PGWelcome->addTab(TBOnlineHelp, QStringLiteral("Online Help"));

    TBWhatIsNew = Page("TBWhatIsNew");
    auto *nl = new QVBoxLayout(TBWhatIsNew);
    nl->setContentsMargins(0, 0, 0, 0);
    FWebBrowsingNews = new TFWebBrowsing(TBWhatIsNew);
    FWebBrowsingNews->setObjectName(QStringLiteral("FWebBrowsingNews"));
    FWebBrowsingNews->EDURL->setVisible(false);
    nl->addWidget(FWebBrowsingNews);
    PGWelcome->addTab(TBWhatIsNew, QStringLiteral("What Is New?"));
    return TBRoot;
}

QWidget *TGlossmillMainForm::CreateBottomPane()
{
    Panel2 = Panel("Panel2", this);
    auto *v = new QVBoxLayout(Panel2);
    v->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(Panel2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    v->addWidget(PageControl1);

    TBGoogle = Page("TBGoogle");
    auto *gv = new QVBoxLayout(TBGoogle);
    gv->setContentsMargins(0, 0, 0, 0);
    gv->setSpacing(0);
    Panel4 = Panel("Panel4", TBGoogle);
    Panel4->setFixedHeight(33);
    auto *h = new QHBoxLayout(Panel4);
    h->setContentsMargins(4, 2, 4, 2);
    const QString localeHint =
        QStringLiteral("Google Locale Code used in translation URL might be different from Android Locale Code standard.");
    BLoadTrans = Button("BLoadTrans", "Translate", Panel4);
    BLoadTrans->setIcon(AppImages::TreeAndSmallButs().value(7));
    h->addWidget(BLoadTrans);
    h->addSpacing(8);
    h->addWidget(new QLabel(QStringLiteral("From Locale Code:"), Panel4));
    EDDefaultLocaleCode = new QLineEdit(QStringLiteral("en"), Panel4);
    EDDefaultLocaleCode->setObjectName(QStringLiteral("EDDefaultLocaleCode"));
    EDDefaultLocaleCode->setToolTip(localeHint);
    EDDefaultLocaleCode->setFixedWidth(60);
    h->addWidget(EDDefaultLocaleCode);
    SBShowDefaultLocales = new QToolButton(Panel4);
    SBShowDefaultLocales->setObjectName(QStringLiteral("SBShowDefaultLocales"));
    SBShowDefaultLocales->setText(QStringLiteral("..."));
    h->addWidget(SBShowDefaultLocales);
    h->addSpacing(8);
    h->addWidget(new QLabel(QStringLiteral("To Locale Code:"), Panel4));
    EDTargetLocale = new QLineEdit(QStringLiteral("en"), Panel4);
    EDTargetLocale->setObjectName(QStringLiteral("EDTargetLocale"));
    EDTargetLocale->setToolTip(localeHint);
    EDTargetLocale->setFixedWidth(60);
    EDTargetLocale->setEnabled(false);
    h->addWidget(EDTargetLocale);
    SBSelectTargetLocale = new QToolButton(Panel4);
    SBSelectTargetLocale->setObjectName(QStringLiteral("SBSelectTargetLocale"));
    SBSelectTargetLocale->setText(QStringLiteral("..."));
    SBSelectTargetLocale->setEnabled(false);
    h->addWidget(SBSelectTargetLocale);
    CHAutoLocale = new QCheckBox(QStringLiteral("Auto"), Panel4);
    CHAutoLocale->setObjectName(QStringLiteral("CHAutoLocale"));
    CHAutoLocale->setChecked(true);
    h->addWidget(CHAutoLocale);
    h->addSpacing(8);
    CHBUseWebTranslator = new QCheckBox(QStringLiteral("Automatically Refresh Translation"), Panel4);
    CHBUseWebTranslator->setObjectName(QStringLiteral("CHBUseWebTranslator"));
    h->addWidget(CHBUseWebTranslator);
    h->addStretch(1);
    gv->addWidget(Panel4);
    WBGoogle = new QWebEngineView(TBGoogle);
    WBGoogle->setObjectName(QStringLiteral("WBGoogle"));
    gv->addWidget(WBGoogle, 1);
    PageControl1->addTab(TBGoogle, QStringLiteral("Google Translator"));

    TabSheet2 = Page("TabSheet2");
    auto *nv = new QVBoxLayout(TabSheet2);
    nv->setContentsMargins(0, 0, 0, 0);
    RENotepad = new QTextEdit(TabSheet2);
    RENotepad->setObjectName(QStringLiteral("RENotepad"));
    RENotepad->setAcceptRichText(true);
    nv->addWidget(RENotepad);
    PageControl1->addTab(TabSheet2, QStringLiteral("Notepad"));
    return Panel2;
}

void TGlossmillMainForm::ConnectHandlers()
{
    auto on = [this](auto *sender, auto signal, void (TGlossmillMainForm::*handler)()) {
        connect(sender, signal, this, [this, handler]() { (this->*handler)(); });
    };
    // File menu and tool bar
    on(MMOpenProject, &QAction::triggered, &TGlossmillMainForm::MMOpenProjectClick);
    on(SBOpenProject, &QToolButton::clicked, &TGlossmillMainForm::SBOpenProjectClick);
    on(BWelOpenProject, &QCommandLinkButton::clicked, &TGlossmillMainForm::MMOpenProjectClick);
    on(OpenExampleProject1, &QAction::triggered, &TGlossmillMainForm::OpenExampleProject1Click);
    on(MMCloseProject, &QAction::triggered, &TGlossmillMainForm::MMCloseProjectClick);
    on(MMSave, &QAction::triggered, &TGlossmillMainForm::MMSaveClick);
    on(MMSaveAll, &QAction::triggered, &TGlossmillMainForm::MMSaveAllClick);
    on(SBSAve, &QToolButton::clicked, &TGlossmillMainForm::SBSAveClick);
    on(SBSaveAll, &QToolButton::clicked, &TGlossmillMainForm::SBSaveAllClick);
    on(MMOptions, &QAction::triggered, &TGlossmillMainForm::MMOptionsClick);
    on(MMExit, &QAction::triggered, &TGlossmillMainForm::MMExitClick);
    on(About2, &QAction::triggered, &TGlossmillMainForm::About2Click);
    on(SBExpand, &QToolButton::clicked, &TGlossmillMainForm::SBExpandClick);
    on(SBColapse, &QToolButton::clicked, &TGlossmillMainForm::SBColapseClick);

    // Tree
    connect(TVProject, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        TVProjectChanging();
        TVProjectChange(current);
    });
    connect(TVProject, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PMTree->popup(TVProject->viewport()->mapToGlobal(pos)); });
    TVProject->viewport()->installEventFilter(this);
    on(PMAddLanguage, &QAction::triggered, &TGlossmillMainForm::PMAddLanguageClick);
    on(PMAddResource, &QAction::triggered, &TGlossmillMainForm::PMAddResourceClick);
    on(PMDeleteLanguage, &QAction::triggered, &TGlossmillMainForm::PMDeleteLanguageClick);

    // Pages
    connect(MainPG, &QTabWidget::currentChanged, this, [this]() { MainPGChange(); });
    connect(PGWelcome, &QTabWidget::currentChanged, this, [this]() { PGWelcomeChange(); });
    on(BWellAddLang, &QCommandLinkButton::clicked, &TGlossmillMainForm::BAddLangClick);
    on(BLangDeleteOnTab, &QCommandLinkButton::clicked, &TGlossmillMainForm::BLangDeleteOnTabClick);
    on(BAddResFile2, &QCommandLinkButton::clicked, &TGlossmillMainForm::BAddResFile2Click);

    // Item list and its commands
    connect(LV->header(), &QHeaderView::sectionClicked, this, [this](int c) { LVColumnClick(c); });
    LV->viewport()->installEventFilter(this);
    connect(LV->model(), &QAbstractItemModel::modelAboutToBeReset, this, [this]() { ListRowsGoing(0, INT_MAX); });
    connect(LV->model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    ListRowsGoing(first, last);
            });
    connect(LV, &QTreeWidget::itemDoubleClicked, this, [this]() { LVDblClick(); });
    // Once per change: the selection changes after the current row has moved, so this one signal sees both.
    connect(LV, &QTreeWidget::itemSelectionChanged, this, [this]() { LVChange(); });
    LV->installEventFilter(this);
    on(SBUndo, &QToolButton::clicked, &TGlossmillMainForm::SBUndoClick);
    on(SBREdo, &QToolButton::clicked, &TGlossmillMainForm::SBREdoClick);
    on(BFilter, &QPushButton::clicked, &TGlossmillMainForm::BFilterClick);
    on(BMarkAs, &QPushButton::clicked, &TGlossmillMainForm::BMarkAsClick);
    on(BCopyBase, &QPushButton::clicked, &TGlossmillMainForm::BCopyBaseClick);
    on(BAcceptFromGoogle, &QPushButton::clicked, &TGlossmillMainForm::BAcceptFromGoogleClick);
    on(SBEditInWindow, &QPushButton::clicked, &TGlossmillMainForm::SBEditInWindowClick);
    on(PMFilterAll, &QAction::triggered, &TGlossmillMainForm::PMFilterAllClick);
    on(PMFilterAllexcludemarkedasDonttranslate, &QAction::triggered,
       &TGlossmillMainForm::PMFilterAllexcludemarkedasDonttranslateClick);
    on(PMFilterTranslated, &QAction::triggered, &TGlossmillMainForm::PMFilterTranslatedClick);
    on(PMFilterNeedbeter, &QAction::triggered, &TGlossmillMainForm::PMFilterNeedbeterClick);
    on(PMFilterFinal, &QAction::triggered, &TGlossmillMainForm::PMFilterFinalClick);
    on(PMFilterDontTrans, &QAction::triggered, &TGlossmillMainForm::PMFilterDontTransClick);
    on(FinalTrnslation1, &QAction::triggered, &TGlossmillMainForm::FinalTrnslation1Click);
    on(NeedBetter1, &QAction::triggered, &TGlossmillMainForm::NeedBetter1Click);
    on(Donottranslate1, &QAction::triggered, &TGlossmillMainForm::Donottranslate1Click);

    // Web translator
    on(BLoadTrans, &QPushButton::clicked, &TGlossmillMainForm::BLoadTransClick);
    on(CHAutoLocale, &QCheckBox::clicked, &TGlossmillMainForm::CHAutoLocaleClick);
    on(SBShowDefaultLocales, &QToolButton::clicked, &TGlossmillMainForm::SBShowDefaultLocalesClick);
    on(SBSelectTargetLocale, &QToolButton::clicked, &TGlossmillMainForm::SBSelectTargetLocaleClick);
    connect(WBGoogle, &QWebEngineView::loadFinished, this, &TGlossmillMainForm::WBGoogleNavigateComplete2);
    on(WBGoogle, &QWebEngineView::urlChanged, &TGlossmillMainForm::WBGoogleUrlChanged);

    on(TMCheckFileChanged, &QTimer::timeout, &TGlossmillMainForm::TMCheckFileChangedTimer);
}

// ---------------------------------------------------------------------------------------------------------------
// Creation and closing

void TGlossmillMainForm::FormCreate()
{
    setWindowTitle(QStringLiteral("Vorel Glossmill ") + GetAppVersion());
    FWebBrowsingHelp->HomePage = TFWebBrowsing::HelpPageAddress();
    FWebBrowsingHelp->SetControls();
    FWebBrowsingNews->HomePage = TFWebBrowsing::NewsPageAddress();
    FWebBrowsingNews->SetControls();
    ManifestFile.clear();
    PackageName.clear();
    FirstResize = true;
    FirstShowItems = true;
    for (QLabel *l : {LBREcent0, LBREcent1, LBREcent2, LBREcent3, LBREcent4})
        l->clear();

    ListViewEditor = new QLineEdit(LV->viewport());
    ListViewEditor->setObjectName(QStringLiteral("ListViewEditor"));
    ListViewEditor->hide();
    ListViewEditor->installEventFilter(this);
    connect(ListViewEditor, &QLineEdit::textEdited, this, [this]() { SetControls(); });
    qApp->installEventFilter(new TWheelHook(this));

    UpdateReopen();
    LoadNotepad();
    CloseProject();
    MainPG->setCurrentWidget(TBRoot);
    PGWelcome->setCurrentWidget(TBWelcomeHome);
    SetControls();
}

bool TGlossmillMainForm::FormCloseQuery()
{
    // What is typed in the list's editor is unsaved work like any other, and the question below must know of it.
    if (!StorePendingEdit())
        return false;
    if (!SBSaveAll->isEnabled() || PackageName.isEmpty())
        return true;
    const auto answer = QMessageBox::question(this, QStringLiteral("Save File?"),
                                              QStringLiteral("Some files not saved! Save File(s) before close project?"),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Yes)
        return SaveAll();
    return answer == QMessageBox::No;
}

bool TGlossmillMainForm::FormClose()
{
    ResetProject();
    SetControls();
    return SaveNotepad();
}

void TGlossmillMainForm::closeEvent(QCloseEvent *e)
{
    if (!FormCloseQuery() || !FormClose()) {
        e->ignore();
        return;
    }
    e->accept();
}

void TGlossmillMainForm::FormActivate()
{
    if (!PackageName.isEmpty())
        CheckFileChanged();
}

void TGlossmillMainForm::changeEvent(QEvent *e)
{
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TGlossmillMainForm::FormResize()
{
    if (!FirstResize)
        return;
    SetColumnWidths();
    FirstResize = false;
}

void TGlossmillMainForm::resizeEvent(QResizeEvent *e)
{
    QMainWindow::resizeEvent(e);
    FormResize();
}

bool TGlossmillMainForm::event(QEvent *e)
{
    if (e->type() == TEditSubItemEvent::EventType) {
        WMEditSubItem(static_cast<TEditSubItemEvent *>(e)->Row);
        return true;
    }
    return QMainWindow::event(e);
}

bool TGlossmillMainForm::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (watched == ListViewEditor) {
            int key = static_cast<QKeyEvent *>(e)->key();
            ListViewEditorKeyDown(key, static_cast<QKeyEvent *>(e)->modifiers());
            if (key == 0)
                return true;
        }
        break;
    case QEvent::FocusOut: {
        // Only a move of the focus inside the window ends an edit: not a popup, not the menu bar, not another window
        // in front. A command chosen there stores the edit itself.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason)
            break;
        if (watched == ListViewEditor || (watched == LV && QApplication::focusWidget() != ListViewEditor))
            LVExit();
        break;
    }
    case QEvent::MouseButtonPress:
        if (watched == TVProject->viewport())
            TVProjectMouseDown(static_cast<QMouseEvent *>(e)->position().toPoint());
        // The bottom pane keeps its first height until the user drags its bar; a drag never makes it lower than 250.
        else if (watched == Splitter2->handle(1))
            Panel2->setMinimumHeight(250);
        break;
    case QEvent::Resize:
        if (watched == LV)
            LVResize();
        break;
    case QEvent::ToolTip:
        // A recent folder's hint is shown as written: the tip would take markup in the path for formatting.
        for (QLabel *l : {LBREcent0, LBREcent1, LBREcent2, LBREcent3, LBREcent4})
            if (watched == l && !l->toolTip().isEmpty()) {
                QToolTip::showText(static_cast<QHelpEvent *>(e)->globalPos(),
                                   Qt::convertFromPlainText(l->toolTip(), Qt::WhiteSpaceNoWrap), l);
                return true;
            }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == LV->viewport()) {
            auto *me = static_cast<QMouseEvent *>(e);
            if (me->button() == Qt::LeftButton)
                LVClick(me->globalPosition().toPoint());
            break;
        }
        if (static_cast<QMouseEvent *>(e)->button() != Qt::LeftButton)
            break;
        if (watched == LBREcent0)
            LBREcent0Click();
        else if (watched == LBREcent1)
            LBREcent1Click();
        else if (watched == LBREcent2)
            LBREcent2Click();
        else if (watched == LBREcent3)
            LBREcent3Click();
        else if (watched == LBREcent4)
            LBREcent4Click();
        else
            break;
        return true;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------------------------------------------
// Refresh

QTreeWidgetItem *TGlossmillMainForm::GetRootNode() const
{
    return TVProject->topLevelItem(0);
}

QString TGlossmillMainForm::GetProjectDir() const
{
    if (ManifestFile.isEmpty())
        return QString();
    const int slash = ManifestFile.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : ManifestFile.left(slash + 1);
}

TTransNode *TGlossmillMainForm::NodeData(const QTreeWidgetItem *node)
{
    return node ? NodeOfTreeItem(node) : nullptr;
}

TTransResourceFileNode *TGlossmillMainForm::SelectedFileNode() const
{
    return dynamic_cast<TTransResourceFileNode *>(NodeData(TVProject->currentItem()));
}

bool TGlossmillMainForm::AnyFileNeedsSave() const
{
    // Every refresh asks this: only the files' level is looked at (root, languages, groups, files), not every node of
    // the tree asked what it carries.
    QTreeWidgetItem *root = GetRootNode();
    if (!root)
        return false;
    for (int l = 0; l < root->childCount(); ++l) {
        QTreeWidgetItem *language = root->child(l);
        for (int g = 0; g < language->childCount(); ++g) {
            QTreeWidgetItem *group = language->child(g);
            for (int f = 0; f < group->childCount(); ++f)
                if (auto *file = dynamic_cast<TTransResourceFileNode *>(NodeData(group->child(f))))
                    if (file->NeedSave())
                        return true;
        }
    }
    return false;
}

void TGlossmillMainForm::SetControls()
{
    try {
        const bool open = !PackageName.isEmpty();
        QTreeWidgetItem *selected = TVProject->currentItem();
        QTreeWidgetItem *row = LV->currentItem();
        const bool rowSelected = row && row->isSelected();
        // Text typed in the list's editor is a change of the file edited: Save stores it first, then saves.
        const int col = GetTranslationColumn();
        const bool typing = LItem && col >= 0 && ListViewEditor->text() != LItem->text(col);
        bool anyUnsaved = typing;
        bool canSave = false;
        bool group = false;
        bool language = false;
        bool translatable = false;
        TTransNode *data = NodeData(selected);
        auto *file = dynamic_cast<TTransResourceFileNode *>(data);
        anyUnsaved = anyUnsaved || AnyFileNeedsSave();
        canSave = file && (file->NeedSave() || (typing && file == FEditFile));
        group = data && typeid(*data) == typeid(TTransResTypeNode) && open && AddResourceFiles(false);
        language = dynamic_cast<TTransLangNode *>(data) != nullptr;
        if (rowSelected && file)
            if (TTranslateItem *item = ItemOfRow(row))
                translatable = !TrimControls(item->FBaseValue).isEmpty();

        EDTargetLocale->setEnabled(!CHAutoLocale->isChecked());
        SBSelectTargetLocale->setEnabled(!CHAutoLocale->isChecked());
        LBPackageName->setText(open ? PackageName + QStringLiteral(" [") + ManifestFile + QStringLiteral("]")
                                    : QString());
        LBPackageNameOnWelcome->setText(PackageName);
        LBProjNameOnWelcome->setText(ManifestFile);
        SBSaveAll->setEnabled(anyUnsaved);
        MMSaveAll->setEnabled(anyUnsaved);
        MMCloseProject->setEnabled(open);
        SBSAve->setEnabled(canSave);
        MMSave->setEnabled(canSave);
        const bool atRoot = selected && selected == GetRootNode() && open;
        BWellAddLang->setEnabled(atRoot);
        BAddResFile2->setEnabled(group);
        PMAddLanguage->setEnabled(atRoot);
        PMAddResource->setEnabled(group);
        SBColapse->setEnabled(open);
        SBExpand->setEnabled(open);
        BLoadTrans->setEnabled(translatable);
        BAcceptFromGoogle->setEnabled(rowSelected);
        BMarkAs->setEnabled(rowSelected);
        BCopyBase->setEnabled(rowSelected);
        PMDeleteLanguage->setEnabled(language);
        BLangDeleteOnTab->setEnabled(language);
        SBUndo->setEnabled(CanUndo());
        SBREdo->setEnabled(CanRedo());
        SBEditInWindow->setEnabled(BAcceptFromGoogle->isEnabled());
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

void TGlossmillMainForm::ShowOnlyTab(QWidget *tab)
{
    for (int i = 0; i < MainPG->count(); ++i)
        if (MainPG->widget(i) == tab)
            MainPG->setTabVisible(i, true);
    MainPG->setCurrentWidget(tab);
    for (int i = 0; i < MainPG->count(); ++i)
        if (MainPG->widget(i) != tab)
            MainPG->setTabVisible(i, false);
}

void TGlossmillMainForm::TVProjectChange(QTreeWidgetItem *node)
{
    struct TFinish
    {
        TGlossmillMainForm *form;
        ~TFinish()
        {
            form->SetControls();
            form->CheckFileChanged();
        }
    } finish{this};

    if (!node)
        return;
    if (node == GetRootNode()) {
        ShowOnlyTab(TBRoot);
        return;
    }
    TTransNode *data = NodeData(node);
    if (!data)
        return;
    if (auto *file = dynamic_cast<TTransResourceFileNode *>(data)) {
        StoreColumnWidths();
        if (FirstShowItems) {
            SetColumnWidths();
            FirstShowItems = false;
        } else {
            StoreColumnWidths();
        }
        ShowOnlyTab(TBTranslationGrid);
        LV->clear();
        static const tTransState filters[] = {tsUnknown,    tsBaseNotPresent,   tsTranslated,
                                              tsNeedBetter, tsFinalTrnaslation, tsDontTranslate};
        const QList<QAction *> entries = PMFilter->actions();
        for (int i = 0; i < entries.size(); ++i)
            if (entries[i]->isChecked()) {
                file->setActiveFilter(i < 6 ? filters[i] : tsUnknown);
                break;
            }
        file->AddAllToListView();
        SetColumnWidths();
        UpdateTargetLocale();
        file->EnableDisablUndoMode(true);
    } else if (auto *lang = dynamic_cast<TTransLangNode *>(data)) {
        ShowOnlyTab(TBLangNode);
        ShowLangInfo(lang->LocaleDesc);
        UpdateTargetLocale();
    } else if (auto *group = dynamic_cast<TTransResTypeNode *>(data)) {
        ShowOnlyTab(TBResType);
        LBREsTypeInfo->setText(group->GetBaseInfo());
        if (group->ResType == rtAndroid_menu) {
            IMMenu->setVisible(true);
            IMString->setVisible(false);
        } else if (group->ResType == rtAndroid_values) {
            IMMenu->setVisible(false);
            IMString->setVisible(true);
        }
    }
}

void TGlossmillMainForm::TVProjectChanging()
{
    StorePendingEdit();
}

void TGlossmillMainForm::TVProjectMouseDown(const QPoint &pos)
{
    if (QTreeWidgetItem *node = TVProject->itemAt(pos))
        TVProject->setCurrentItem(node);
}

void TGlossmillMainForm::MainPGChange()
{
    SetControls();
}

void TGlossmillMainForm::ShowLangInfo(TLocaleDesc desc)
{
    LBLangName->setText(desc.LocaleName);
    LBLocaleCode->setText(desc.LocaleCode);
    LBLOCVariant->setText(desc.LocaleVariant);
    const QString res = GetProjectDir() + QStringLiteral("res/");
    LBValuesFolderName->setText(res + LanguageFolderName(desc, rtAndroid_values));
    LBMenuFolderName->setText(res + LanguageFolderName(desc, rtAndroid_menu));
}

// ---------------------------------------------------------------------------------------------------------------
// Item list columns and sorting

void TGlossmillMainForm::SetColumnWidths()
{
    const int w = LV->width() / 10;
    QHeaderView *h = LV->header();
    h->setSectionResizeMode(0, QHeaderView::Fixed);
    h->resizeSection(0, 24);
    h->resizeSection(1, LVColumnTag[1] > 10 ? LVColumnTag[1] : 2 * w - 51);
    h->resizeSection(2, LVColumnTag[2] > 10 ? LVColumnTag[2] : 4 * w);
    h->resizeSection(3, LVColumnTag[3] > 10 ? LVColumnTag[3] : 4 * w);
}

void TGlossmillMainForm::StoreColumnWidths()
{
    if (FirstShowItems)
        return;
    for (int c = 1; c <= 3; ++c)
        LVColumnTag[c] = LV->header()->sectionSize(c);
}

void TGlossmillMainForm::LVResize()
{
    if (PTranslateTool->x() != LV->x())
        PTranslateTool->move(LV->x(), PTranslateTool->y());
}

int TGlossmillMainForm::LVCompare(QTreeWidgetItem *Item1, QTreeWidgetItem *Item2) const
{
    // Column 0 holds the empty caption, columns 1 to 3 the sub-items.
    const int c = std::clamp(ColumnToSort, 0, 3);
    return CompareTextAZ(Item1->text(c), Item2->text(c));
}

void TGlossmillMainForm::LVColumnClick(int column)
{
    // The header takes no focus, and the rows are about to move from under the editor.
    StorePendingEdit();
    ColumnToSort = column;
    QTreeWidgetItem *current = LV->currentItem();
    const bool selected = current && current->isSelected();
    // The rows only change places: taking them out one by one must not reach the list's change handler.
    const QSignalBlocker listSignals(LV);
    QList<QTreeWidgetItem *> rows;
    while (LV->topLevelItemCount() > 0)
        rows.append(LV->takeTopLevelItem(0));
    std::stable_sort(rows.begin(), rows.end(),
                     [this](QTreeWidgetItem *a, QTreeWidgetItem *b) { return LVCompare(a, b) < 0; });
    LV->addTopLevelItems(rows);
    if (current) {
        LV->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
        current->setSelected(selected);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Commands of the frame

void TGlossmillMainForm::SBExpandClick()
{
    // The button takes no focus; the list is filled again.
    StorePendingEdit();
    if (GetRootNode())
        TVProject->expandAll();
    TVProjectChange(TVProject->currentItem());
}

void TGlossmillMainForm::SBColapseClick()
{
    StorePendingEdit();
    if (GetRootNode())
        TVProject->collapseAll();
    TVProjectChange(TVProject->currentItem());
}

void TGlossmillMainForm::MMExitClick()
{
    close();
}

void TGlossmillMainForm::MMOptionsClick()
{
    ShowOptions();
}

void TGlossmillMainForm::About2Click()
{
    if (FormSplash)
        FormSplash->DoSplash(true);
}
