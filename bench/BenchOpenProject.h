#pragma once

// Opens a project folder through the main window's OpenProject (offscreen) and prints the time beside the floor:
// pugixml parsing and serialising the same files. Arguments: <project-folder> [repetitions]. The folder is copied
// to a temporary folder first, since opening writes work files beside the language files.
int RunOpenProjectBenchmark(int argc, char **argv);
