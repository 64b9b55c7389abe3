#pragma once
// The files that opening a project reads, and both sides of each measure: the model's part and the pugixml floor.
// The two sides share no helper inside a timed part, so that neither hides a cost of the other.
#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

#include <pugixml.hpp>

#include "Glossmill_types.h"

namespace Bench {

struct TProjectFile
{
    QString Path;
    bool Menu = false;
    int Default = -1; // index of its default file among the files, -1 for a default file
};

bool CopyFolder(const QString &From, const QString &To);

// The files that opening the project reads, default files first, as the main window finds them.
std::vector<TProjectFile> ProjectFiles(const QString &Project);
// Only the strings files (values) of Files, their Default indexes pointing into the result.
std::vector<TProjectFile> StringsFiles(const std::vector<TProjectFile> &Files);
qint64 FilesBytes(const std::vector<TProjectFile> &Files);

// The model's side: every file loaded and parsed as opening the project does (language files rebuilt into their
// work files).
struct TModelOpen
{
    std::vector<std::unique_ptr<TTransResourceFileNode>> Nodes;
    int Failures = 0;
    int TreeWritten = 0; // language files the fallback tree writer wrote, splicing being on
};
double OpenModel(const std::vector<TProjectFile> &Files, TModelOpen &Open); // seconds
// Releases the nodes, language files first; their work files go with them. Seconds.
double CloseModel(TModelOpen &Open);
// Changes one translation in every language file; the number of files changed.
int EditOneStringPerFile(TModelOpen &Open);
// Saves every language file that needs it as the main window's save-all does. Seconds; Failures counts failed saves.
double SaveAllModel(TModelOpen &Open, int &Failures);
// The language files of Open that the fallback tree writer wrote, at the open or a save since.
int TreeWriterFiles(const TModelOpen &Open);

// The floor's side: pugixml alone.
struct TFloorOpen
{
    std::vector<std::unique_ptr<pugi::xml_document>> Docs;
    std::vector<QByteArray> Written;
};
// Parses every file and writes each to a new file beside it. Seconds.
double OpenFloor(const std::vector<TProjectFile> &Files, TFloorOpen &Open);
// Parses every file and writes, for each language file, its default file's document: output of the size that the
// model's rebuilt work files have. Seconds.
double OpenFloorDefaultSized(const std::vector<TProjectFile> &Files, TFloorOpen &Open);
// Frees the documents and removes the files written. Seconds.
double CloseFloor(TFloorOpen &Open);
// Parses every file (not timed) and changes one string in each language file's document.
void LoadFloorForSave(const std::vector<TProjectFile> &Files, TFloorOpen &Open);
// Writes every language file's document to a work file and renames it over the file; DefaultSized: its default
// file's document instead, output of the size the model's saves write. Seconds.
double SaveAllFloor(const std::vector<TProjectFile> &Files, TFloorOpen &Open, bool DefaultSized);

} // namespace Bench
