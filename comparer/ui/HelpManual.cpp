#include "comparer/ui/HelpManual.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString findManual() {
    QDir program(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {program.filePath(QStringLiteral("kelvor-manual.html")),
          program.filePath(QStringLiteral("../share/doc/kelvor/kelvor-manual.html"))}) {
        QFileInfo file(candidate);
        if (file.isFile())
            return file.canonicalFilePath();
    }
    return {};
}

void openManual() {
    QString manual = findManual();
    if (!manual.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(manual));
}
