#include "BenchProject.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <memory>
#include <pugixml.hpp>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_Misc.h"
#include "Glossmill_types.h"

namespace Bench {

bool CopyFolder(const QString &From, const QString &To)
{
    const QDir source(From);
    QDirIterator it(From, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
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
        const bool menu = folder.startsWith("menu-", Qt::CaseInsensitive);
        if (!menu && !folder.startsWith("values-", Qt::CaseInsensitive))
            continue;
        const QString qualifier = folder.mid(folder.indexOf('-') + 1);
        if (FindLocaleByValuesFolder("values-" + qualifier) < 0)
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

double RunModel(const std::vector<TProjectFile> &Files, int &Failures)
{
    std::vector<std::unique_ptr<TTransResourceFileNode>> nodes(Files.size());
    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < Files.size(); ++i) {
        const TProjectFile &file = Files[i];
        auto node = CreateResourceFileNode(file.Menu ? rtAndroid_menu : rtAndroid_values);
        if (file.Default >= 0) {
            node->LocaleDesc.LocaleName = QFileInfo(file.Path).dir().dirName();
            node->ResourceFileName = file.Path;
            node->setBaseTemplate(nodes[size_t(file.Default)].get());
        }
        if (node->LoadResFile(file.Path) != lrfOK || !node->Parse())
            ++Failures;
        nodes[i] = std::move(node);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        it->reset(); // language files first, then the defaults they point at
    return seconds;
}

double RunFloor(const std::vector<TProjectFile> &Files)
{
    std::vector<QByteArray> targets;
    for (const TProjectFile &file : Files)
        targets.push_back(QFile::encodeName(StripFileExtension(file.Path) + ".floor"));
    QElapsedTimer timer;
    timer.start();
    for (size_t i = 0; i < Files.size(); ++i) {
        pugi::xml_document doc;
        doc.load_file(QFile::encodeName(Files[i].Path).constData(),
                      pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_declaration | pugi::parse_comments);
        doc.save_file(targets[i].constData(), "", pugi::format_raw);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    for (const QByteArray &target : targets)
        QFile::remove(QFile::decodeName(target));
    return seconds;
}

} // namespace Bench
