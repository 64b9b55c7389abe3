#pragma once
// What keeps a language file's work and backup files safe: whether the file at the work file's name is the one this
// node wrote, whether one found there at load could not be moved out of the way, and which of them holds the only copy
// of a content after a failed rename.
struct TWorkFileGuard
{
    bool WorkFileOurs = false;
    bool WorkFileForeign = false;
    bool WorkOnlyCopy = false;
    bool BackupOnlyCopy = false;
    bool ReloadedSinceFailure = false; // the file was read again after such a failure
};
