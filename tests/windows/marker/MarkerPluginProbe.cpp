// Loads each marker plugin named on the command line as Qt loads a plugin
// (its metadata, Qt version and build checked): exit code 0 when every one
// loads. The control for windows_panelup_program, which expects none of
// them loaded into Panelup.exe.
#include <QPluginLoader>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        QPluginLoader loader(QString::fromLocal8Bit(argv[i]));
        if (!loader.load()) {
            std::printf("%s: %s\n", argv[i], qPrintable(loader.errorString()));
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}
