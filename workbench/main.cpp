#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream(stdout) << "Glossmill " GLOSSMILL_VERSION ": the main window is not built yet.\n";
    return 0;
}
