// Writes the application icon as PNG files of the hicolor icon theme:
//   tabulon-write-icons FOLDER SIZE...  ->  FOLDER/SIZExSIZE/apps/tabulon.png
#include <QDir>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "widgets/Artwork.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "%s: not a size: %s\n", argv[0], argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) ||
            !tabulon::applicationIconImage(size).save(folder + "/tabulon.png", "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
