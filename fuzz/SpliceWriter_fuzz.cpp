// Opens a default and a language file twice, once written by splicing and once by the tree writer, makes the same
// edits in both and saves twice: the work files, the saved files and the documents made whole must agree byte for
// byte, and so must whether each step succeeded.
//
// Input: a flags byte (1: menu files, 2: whitespace not kept, 4: a byte-order mark written, 8: double spaces
// replaced), then the default file and the language file, NUL after each, then the edits: a byte that picks the item
// (low six bits) and the action (top two: a text, do not translate, final, needs better), and for a text its UTF-8
// up to a NUL.
//
//     CC=clang CXX=clang++ cmake -S . -B build-fuzz -DGLOSSMILL_FUZZ=ON && cmake --build build-fuzz -j4 --target glossmill_fuzz_splice
//     mkdir -p /tmp/splice-corpus && build-fuzz/fuzz/glossmill_fuzz_splice -max_len=8192 -timeout=10 /tmp/splice-corpus fuzz/splice-seeds
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Glossmill_types.h"
#include "ModelSettings.h"

namespace {

struct TSettings : TModelSettingsProvider
{
    bool Replace = false, NoBOM = true, Keep = true;
    bool ReplaceWhiteSpaces() const override { return Replace; }
    bool DoNotWriteBOM() const override { return NoBOM; }
    bool KeepWhiteSpaces() const override { return Keep; }
};

struct TInput
{
    bool Menu = false;
    QByteArray Default, Language;
    struct TEdit
    {
        int Item;
        int Action;
        QString Text;
    };
    std::vector<TEdit> Edits;
};

QByteArray ReadAll(const QString &Path)
{
    if (Path.isEmpty())
        return QByteArray("<none>");
    QFile file(Path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

bool WriteAll(const QString &Path, const QByteArray &Bytes)
{
    QDir().mkpath(QFileInfo(Path).path());
    QFile file(Path);
    return file.open(QIODevice::WriteOnly) && file.write(Bytes) == Bytes.size();
}

// What each step left, in order.
QList<QByteArray> Run(const TInput &Input, bool Splice)
{
    QList<QByteArray> outputs;
    QTemporaryDir dir;
    const QString folder = Input.Menu ? QStringLiteral("menu") : QStringLiteral("values");
    const QString name = Input.Menu ? QStringLiteral("main.xml") : QStringLiteral("strings.xml");
    const QString defaultPath = dir.path() + "/res/" + folder + "/" + name;
    const QString languagePath = dir.path() + "/res/" + folder + "-de/" + name;
    if (!WriteAll(defaultPath, Input.Default) || !WriteAll(languagePath, Input.Language))
        return outputs;
    TTransResourceFileNode::SpliceWriting = Splice;
    auto base = CreateResourceFileNode(Input.Menu ? rtAndroid_menu : rtAndroid_values);
    if (base->LoadResFile(defaultPath) != lrfOK || !base->Parse()) {
        outputs << "no default";
        return outputs;
    }
    auto node = CreateResourceFileNode(Input.Menu ? rtAndroid_menu : rtAndroid_values);
    node->LocaleDesc.LocaleName = QStringLiteral("German");
    node->ResourceFileName = languagePath;
    node->setBaseTemplate(base.get());
    outputs << QByteArray::number(node->LoadResFile(languagePath)) + QByteArray::number(node->Parse());
    outputs << ReadAll(node->TempWorkFileName);
    node->EnableDisablUndoMode(true);
    for (int round = 0; round < 2; ++round) {
        for (const TInput::TEdit &edit : Input.Edits) {
            const auto &items = node->TransItems();
            if (items.empty())
                break;
            TTranslateItem *item = items[size_t(edit.Item) % items.size()].get();
            static const tTransState states[] = {tsTranslated, tsDontTranslate, tsFinalTrnaslation, tsNeedBetter};
            if (edit.Action == 0)
                item->setTranslateValue(round ? edit.Text + QStringLiteral(" 2") : edit.Text);
            else
                item->setTranslateState(states[edit.Action]);
            if (item->UndoAffected()) {
                item->ResetUndoFlag();
                node->AddToUndoList(item);
            }
        }
        if (round == 1 && node->CanUndo())
            node->DoUndo();
        outputs << QByteArray::number(node->SaveFile(QString()));
        node->DeleteTempXMFile();
        outputs << ReadAll(languagePath);
    }
    outputs << node->XmlFile.SaveToString().toUtf8();
    outputs << QByteArray::number(node->SaveFile(QString())) << ReadAll(languagePath);
    node.reset();
    TTransResourceFileNode::SpliceWriting = true;
    return outputs;
}

bool Parse(const uint8_t *Data, size_t Size, TInput &Input, TSettings &Settings)
{
    if (Size < 1)
        return false;
    const uint8_t flags = Data[0];
    Input.Menu = flags & 1;
    Settings.Keep = !(flags & 2);
    Settings.NoBOM = !(flags & 4);
    Settings.Replace = flags & 8;
    const char *p = reinterpret_cast<const char *>(Data) + 1;
    const char *end = reinterpret_cast<const char *>(Data) + Size;
    auto piece = [&](QByteArray &Out) {
        const char *nul = static_cast<const char *>(std::memchr(p, 0, size_t(end - p)));
        if (!nul)
            return false;
        Out = QByteArray(p, nul - p);
        p = nul + 1;
        return true;
    };
    if (!piece(Input.Default) || !piece(Input.Language))
        return false;
    while (p < end && Input.Edits.size() < 16) {
        const uint8_t pick = uint8_t(*p++);
        TInput::TEdit edit{pick & 0x3F, pick >> 6, QString()};
        if (edit.Action == 0) {
            QByteArray text;
            if (!piece(text))
                text = QByteArray(p, end - p), p = end;
            edit.Text = QString::fromUtf8(text);
        }
        Input.Edits.push_back(edit);
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    TInput input;
    TSettings settings;
    if (!Parse(Data, Size, input, settings))
        return 0;
    ModelSettings::SetProvider(&settings);
    const QList<QByteArray> tree = Run(input, false);
    const QList<QByteArray> splice = Run(input, true);
    ModelSettings::SetProvider(nullptr);
    for (int i = 0; i < tree.size() || i < splice.size(); ++i) {
        const QByteArray a = tree.value(i), b = splice.value(i);
        if (a == b)
            continue;
        std::fprintf(stderr, "FAULT: step %d differs\n--- tree writer:\n%s\n--- splice writer:\n%s\n", i, a.constData(),
                     b.constData());
        std::abort();
    }
    return 0;
}
