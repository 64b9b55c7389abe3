#include "BenchProject.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"

namespace Bench {

namespace {

const unsigned FloorParseFlags = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration | pugi::parse_comments;

QByteArray FloorTarget(const QString &Path, const char *Extension)
{
    return QFile::encodeName(StripFileExtension(Path) + QLatin1String(Extension));
}

} // namespace

bool CopyFolder(const QString &From, const QString &To)
{
    const QDir source(From);
    QDirIterator it(From, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    QDir().mkpath(To);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = To + "/" + source.relativeFilePath(path);
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else if (!QFile::copy(path, target))
            return false;
    }
    return true;
}

std::vector<TProjectFile> ProjectFiles(const QString &Project)
{
    std::vector<TProjectFile> files;
    const QString res = Project + "/res/";
    if (QFileInfo::exists(res + "values/strings.xml"))
        files.push_back({res + "values/strings.xml", false, -1});
    QStringList menus;
    ListXmlFiles(res + "menu/", menus);
    menus.sort();
    for (const QString &menu : menus)
        files.push_back({res + "menu/" + menu, true, -1});
    const size_t defaults = files.size();

    QStringList folders;
    ListSubFolders(res, folders);
    folders.sort();
    for (const QString &folder : folders) {
        bool menu = false;
        if (FindLocaleByLanguageFolder(folder, &menu) < 0)
            continue;
        for (size_t d = 0; d < defaults; ++d) {
            if (files[d].Menu != menu)
                continue;
            const QString path = res + folder + "/" + QFileInfo(files[d].Path).fileName();
            if (QFileInfo::exists(path))
                files.push_back({path, menu, int(d)});
        }
    }
    return files;
}

std::vector<TProjectFile> StringsFiles(const std::vector<TProjectFile> &Files)
{
    std::vector<TProjectFile> strings;
    std::vector<int> moved(Files.size(), -1);
    for (size_t i = 0; i < Files.size(); ++i) {
        const TProjectFile &file = Files[i];
        if (file.Menu || (file.Default >= 0 && moved[size_t(file.Default)] < 0))
            continue;
        moved[i] = int(strings.size());
        strings.push_back({file.Path, false, file.Default >= 0 ? moved[size_t(file.Default)] : -1});
    }
    return strings;
}

qint64 FilesBytes(const std::vector<TProjectFile> &Files)
{
    qint64 bytes = 0;
    for (const TProjectFile &file : Files)
        bytes += QFileInfo(file.Path).size();
    return bytes;
}

double OpenModel(const std::vector<TProjectFile> &Files, TModelOpen &Open)
{
    Open.Nodes.clear();
    Open.Nodes.resize(Files.size());
    Open.Failures = 0;
    const int treeWritten = TTransResourceFileNode::TreeWrittenFiles;
    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < Files.size(); ++i) {
        const TProjectFile &file = Files[i];
        auto node = CreateResourceFileNode(file.Menu ? rtAndroid_menu : rtAndroid_values);
        if (file.Default >= 0) {
            node->LocaleDesc.LocaleName = QFileInfo(file.Path).dir().dirName();
            node->ResourceFileName = file.Path;
            node->setBaseTemplate(Open.Nodes[size_t(file.Default)].get());
        }
        if (node->LoadResFile(file.Path) != lrfOK || !node->Parse())
            ++Open.Failures;
        Open.Nodes[i] = std::move(node);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    Open.TreeWritten = TTransResourceFileNode::TreeWrittenFiles - treeWritten;
    return seconds;
}

double CloseModel(TModelOpen &Open)
{
    QElapsedTimer timer;
    timer.start();
    for (auto it = Open.Nodes.rbegin(); it != Open.Nodes.rend(); ++it)
        it->reset(); // language files first, then the defaults they point at
    Open.Nodes.clear();
    return timer.nsecsElapsed() / 1e9;
}

int EditOneStringPerFile(TModelOpen &Open)
{
    int edited = 0;
    for (const auto &node : Open.Nodes) {
        if (!node || node->IsBase())
            continue;
        for (const auto &item : node->TransItems())
            if (!item->FBaseValue.isEmpty() && item->FTranslateState != tsDontTranslate) {
                item->setTranslateValue(item->FTranslatedValue + QStringLiteral(" *"));
                ++edited;
                break;
            }
    }
    return edited;
}

double SaveAllModel(TModelOpen &Open, int &Failures)
{
    Failures = 0;
    const int treeWritten = TTransResourceFileNode::TreeWrittenFiles;
    QElapsedTimer timer;
    timer.start();
    for (const auto &node : Open.Nodes) {
        if (!node || node->IsBase() || !node->NeedSave())
            continue;
        if (node->SaveFile(QString()))
            node->DeleteTempXMFile();
        else
            ++Failures;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    Open.TreeWritten += TTransResourceFileNode::TreeWrittenFiles - treeWritten;
    return seconds;
}

int TreeWriterFiles(const TModelOpen &Open)
{
    return Open.TreeWritten;
}

double OpenFloor(const std::vector<TProjectFile> &Files, TFloorOpen &Open)
{
    Open.Docs.clear();
    Open.Written.clear();
    for (const TProjectFile &file : Files)
        Open.Written.push_back(FloorTarget(file.Path, ".floor"));
    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < Files.size(); ++i) {
        auto doc = std::make_unique<pugi::xml_document>();
        doc->load_file(QFile::encodeName(Files[i].Path).constData(), FloorParseFlags);
        doc->save_file(Open.Written[i].constData(), "", pugi::format_raw);
        Open.Docs.push_back(std::move(doc));
    }
    return timer.nsecsElapsed() / 1e9;
}

double OpenFloorDefaultSized(const std::vector<TProjectFile> &Files, TFloorOpen &Open)
{
    Open.Docs.clear();
    Open.Written.clear();
    std::vector<QByteArray> targets;
    for (const TProjectFile &file : Files)
        targets.push_back(FloorTarget(file.Path, ".floor"));
    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < Files.size(); ++i) {
        auto doc = std::make_unique<pugi::xml_document>();
        doc->load_file(QFile::encodeName(Files[i].Path).constData(), FloorParseFlags);
        if (Files[i].Default >= 0) {
            Open.Docs[size_t(Files[i].Default)]->save_file(targets[i].constData(), "", pugi::format_raw);
            Open.Written.push_back(targets[i]);
        }
        Open.Docs.push_back(std::move(doc));
    }
    return timer.nsecsElapsed() / 1e9;
}

double CloseFloor(TFloorOpen &Open)
{
    QElapsedTimer timer;
    timer.start();
    Open.Docs.clear();
    for (const QByteArray &target : Open.Written)
        std::remove(target.constData());
    Open.Written.clear();
    return timer.nsecsElapsed() / 1e9;
}

void LoadFloorForSave(const std::vector<TProjectFile> &Files, TFloorOpen &Open)
{
    Open.Docs.clear();
    Open.Written.clear();
    for (const TProjectFile &file : Files) {
        auto doc = std::make_unique<pugi::xml_document>();
        doc->load_file(QFile::encodeName(file.Path).constData(), FloorParseFlags);
        if (file.Default >= 0)
            for (pugi::xml_node e : doc->document_element().children())
                if (pugi::xml_node text = e.first_child(); text.type() == pugi::node_pcdata) {
                    text.set_value((std::string(text.value()) + " *").c_str());
                    break;
                }
        Open.Docs.push_back(std::move(doc));
    }
}

double SaveAllFloor(const std::vector<TProjectFile> &Files, TFloorOpen &Open, bool DefaultSized)
{
    std::vector<QByteArray> paths, work;
    for (const TProjectFile &file : Files) {
        paths.push_back(QFile::encodeName(file.Path));
        work.push_back(FloorTarget(file.Path, ".tmp"));
    }
    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < Files.size(); ++i)
        if (Files[i].Default >= 0
            && Open.Docs[DefaultSized ? size_t(Files[i].Default) : i]->save_file(work[i].constData(), "", pugi::format_raw))
            std::rename(work[i].constData(), paths[i].constData());
    return timer.nsecsElapsed() / 1e9;
}

} // namespace Bench
