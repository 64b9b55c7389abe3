#pragma once

// The program: prepares the process, shows the splash, creates every window once, in a fixed order, and runs
// the message loop until the main window closes. Of the command line it reads only the program's own path
// (argv[0] is handed on to the application object).
int ProgramMain(int argc, char **argv);
