#pragma once
// A default file and one language copy of it in a temporary project, loaded and parsed as the workbench does.
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <string>

#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "ModelSettings.h"
#include "TestSupport.h"

struct TNodePair
{
    QTemporaryDir Dir;
    std::unique_ptr<TTransResourceFileNode> Base;
    std::unique_ptr<TTransResourceFileNode> Lang;
    tLoadResFileResult LangLoad = lrfError;
    bool LangParsed = false;

    QString DefaultPath() const { return Dir.path() + (Menu ? "/res/menu/" : "/res/values/") + FileName; }
    QString LangPath() const { return Dir.path() + (Menu ? "/res/menu-de/" : "/res/values-de/") + FileName; }
    QString WorkPath() const { return StripFileExtension(LangPath()) + ".tmp"; }
    QString BackupPath() const { return StripFileExtension(LangPath()) + ".bck"; }

    bool Menu = false;
    QString FileName = QStringLiteral("strings.xml");

    static std::unique_ptr<TTransResourceFileNode> NewNode(bool Menu)
    {
        return CreateResourceFileNode(Menu ? rtAndroid_menu : rtAndroid_values);
    }

    // Writes both files (a null LangXml writes no language file) and opens them; false when the default fails.
    bool Open(const QByteArray &DefaultXml, const QByteArray *LangXml, bool IsMenu = false)
    {
        Menu = IsMenu;
        if (!TestSupport::WriteFile(DefaultPath(), DefaultXml))
            return false;
        if (LangXml && !TestSupport::WriteFile(LangPath(), *LangXml))
            return false;
        Base = NewNode(Menu);
        if (Base->LoadResFile(DefaultPath()) != lrfOK || !Base->Parse())
            return false;
        return OpenLanguage();
    }

    bool Open(const QByteArray &DefaultXml, const QByteArray &LangXml, bool IsMenu = false)
    {
        return Open(DefaultXml, &LangXml, IsMenu);
    }

    bool OpenLanguage()
    {
        Lang = NewNode(Menu);
        Lang->LocaleDesc.LocaleName = "German";
        Lang->LocaleDesc.LocaleCode = "de";
        Lang->ResourceFileName = LangPath();
        Lang->setBaseTemplate(Base.get());
        LangLoad = Lang->LoadResFile(LangPath());
        LangParsed = Lang->Parse();
        return true;
    }

    TTranslateItem *Item(const char *ID) const { return Lang->GetItemByID(ID); }
    QByteArray LangFile() const { return TestSupport::ReadFile(LangPath()); }
    QByteArray WorkFile() const { return TestSupport::ReadFile(WorkPath()); }
};

// A values file with the given body inside its resources element.
inline QByteArray ValuesXml(const QByteArray &Body, const QByteArray &Prolog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n")
{
    return Prolog + "<resources xmlns:xliff=\"urn:oasis:names:tc:xliff:document:1.2\">\n" + Body + "</resources>\n";
}

struct TSettings : TModelSettingsProvider
{
    bool Replace = false, NoBOM = true, Keep = true;
    bool ReplaceWhiteSpaces() const override { return Replace; }
    bool DoNotWriteBOM() const override { return NoBOM; }
    bool KeepWhiteSpaces() const override { return Keep; }
};

// Installs settings for one test and brings the defaults back after it.
struct TScopedSettings : TSettings
{
    TScopedSettings() { ModelSettings::SetProvider(this); }
    ~TScopedSettings() { ModelSettings::SetProvider(nullptr); }
};

// A project that a test writes every file of: generated, or the corpus project of its name. With OddSettings, double
// spaces are replaced, whitespace is not kept and a byte-order mark is written.
struct TGeneratedCase
{
    const char *Name;
    bool (*Generate)(const QString &Folder); // nullptr: the corpus project of that name
    bool OddSettings;

    bool WriteInto(const QString &Folder) const
    {
        return Generate ? Generate(Folder) : TestSupport::CopyTree(TestSupport::CorpusDir() + "/" + Name, Folder);
    }
    void Apply(TSettings &Settings) const
    {
        Settings.Replace = OddSettings;
        Settings.Keep = !OddSettings;
        Settings.NoBOM = !OddSettings;
    }
};

// Where two texts part, with some context, for a readable failure; empty when they are equal.
inline std::string FirstDifference(const QByteArray &A, const QByteArray &B, const char *Was = "was",
                                   const char *Now = "now")
{
    if (A == B)
        return std::string();
    qsizetype at = 0;
    while (at < A.size() && at < B.size() && A[at] == B[at])
        ++at;
    const qsizetype from = std::max<qsizetype>(0, at - 80);
    return "at byte " + std::to_string(at) + "\n  " + Was + ": " + A.mid(from, 200).toStdString() + "\n  " + Now + ": "
        + B.mid(from, 200).toStdString();
}

// A user edit as the workbench makes it.
inline void Edit(TTransResourceFileNode &Node, TTranslateItem *Item, const QString &Text)
{
    Item->setTranslateValue(Text);
    if (Item->UndoAffected()) {
        Item->ResetUndoFlag();
        Node.AddToUndoList(Item);
    }
}

inline void Mark(TTransResourceFileNode &Node, TTranslateItem *Item, tTransState State)
{
    Item->setTranslateState(State);
    if (Item->UndoAffected()) {
        Item->ResetUndoFlag();
        Node.AddToUndoList(Item);
    }
}
