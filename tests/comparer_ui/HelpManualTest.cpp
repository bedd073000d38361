// Where the window finds the program's manual.

#include "comparer/ui/HelpManual.h"
#include "tests/comparer_ui/QtTestSupport.h"

#include <QDir>
#include <QFile>

namespace {

// A file created for one test, removed with its new folders afterwards.
class PlacedFile {
public:
    explicit PlacedFile(const QString& path) : path_(QDir::cleanPath(path)) {
        QDir().mkpath(QFileInfo(path_).path());
        QFile file(path_);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html></html>");
    }
    ~PlacedFile() {
        QFile::remove(path_);
        QDir().rmpath(QFileInfo(path_).path());
    }
    PlacedFile(const PlacedFile&) = delete;
    PlacedFile& operator=(const PlacedFile&) = delete;

    QString canonical() const { return QFileInfo(path_).canonicalFilePath(); }

private:
    QString path_;
};

TEST(HelpManualTest, TheManualBesideTheProgramComesBeforeTheInstalledOne) {
    QString program = QCoreApplication::applicationDirPath();
    ASSERT_EQ(findManual(), ""); // none in the build
    openManual();                // a missing manual is ignored
    {
        PlacedFile installed(program + "/../share/doc/kelvor/kelvor-manual.html");
        EXPECT_EQ(findManual(), installed.canonical());
        PlacedFile beside(program + "/kelvor-manual.html");
        EXPECT_EQ(findManual(), beside.canonical());
    }
    EXPECT_EQ(findManual(), "");
}

} // namespace
