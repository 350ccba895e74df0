// Files and folders dropped onto the list, data that is not a list of files, and the paths
// given to the program when it starts.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "FileListFixture.h"
#include "FolderFixture.h"
#include "filelist/DropFiles.h"

namespace tabulon::testing {
namespace {

class DropTest : public FileListTest {
  protected:
    static QMimeData* filesData(const QStringList& paths) {
        auto* data = new QMimeData;
        QList<QUrl> urls;
        for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return data;
    }

    // Whether the list takes the data when it is dragged in.
    bool takesDrag(const QMimeData& data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        // The drag leaves again, as a real one does when it is not dropped here.
        QDragLeaveEvent leave;
        QApplication::sendEvent(list->viewport(), &leave);
        return enter.isAccepted() && enter.dropAction() != Qt::IgnoreAction;
    }

    // A drop comes at the end of a drag that entered the list.
    void drop(const QMimeData& data) {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    }
};

TEST_F(DropTest, OnlyListsOfLocalFilesAreTakenAndTextIsRefused) {
    EXPECT_TRUE(list->viewport()->acceptDrops());
    const std::unique_ptr<QMimeData> files(filesData({"/tmp/a.xlsx"}));
    EXPECT_TRUE(takesDrag(*files));
    QMimeData text;
    text.setText("/tmp/a.xlsx");
    EXPECT_FALSE(takesDrag(text));
    QMimeData remote;
    remote.setUrls({QUrl::fromLocalFile("/tmp/a.xlsx"), QUrl("https://example.org/b.xlsx")});
    EXPECT_FALSE(takesDrag(remote));
    drop(text);
    drop(remote);
    EXPECT_EQ(list->itemCount(), 0);
}

TEST_F(DropTest, TwoFilesComeAsDroppedAndAFolderAsEveryFileOfItsTree) {
    FolderTree files;
    const QString book = files.file("Book.xlsx");
    const QString picture = files.file("picture.png");  // no workbook, still added
    FolderTree folder;
    const QString inFolder = folder.file("Data.csv");
    folder.file("~$Data.csv");
    const QString below = folder.file("inner/Inner.xls");
    fill({"first"});
    const std::unique_ptr<QMimeData> data(filesData({book, folder.folder(), picture}));
    drop(*data);
    EXPECT_EQ(texts(), QStringList({"first", book, inFolder, below, picture}));
    expectSilence();
}

TEST_F(DropTest, TwoDroppedFoldersAddEachTreeOnceAndAVanishedFileAsDropped) {
    FolderTree one;
    const QString a = one.file("a.xlsx");
    FolderTree two;
    const QString b = two.file("sub/b.xlsx");
    const QString gone = one.folder() + "/gone.xlsx";
    const std::unique_ptr<QMimeData> data(filesData({one.folder(), two.folder(), gone}));
    drop(*data);
    EXPECT_EQ(texts(), QStringList({a, b, gone}));
}

TEST_F(DropTest, StartPathsComeAsADropOfTheSameFilesAndFoldersDoes) {
    FolderTree files;
    const QString book = files.file("Book.xlsx");
    const QString vanished = files.folder() + "/gone.ods";
    FolderTree folder;
    const QString a = folder.file("a.xlsm");
    const QString b = folder.file("sub/b.xls");
    fill({"first"});
    addDroppedPaths(*form, startPaths({book, folder.folder(), vanished}));
    EXPECT_EQ(texts(), QStringList({"first", book, a, b, vanished}));
    expectSilence();
}

TEST_F(DropTest, RelativeStartPathsAreTakenFromTheCurrentFolder) {
    FolderTree folder;
    const QString book = folder.file("in/Book.xlsx");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.folder()));
    const std::vector<std::string> paths = startPaths({"in/Book.xlsx", "", "in"});
    QDir::setCurrent(before);
    const std::vector<std::string> expected = {book.toStdString(),
                                               folder.folder("in").toStdString()};
    EXPECT_EQ(paths, expected);
}

}  // namespace
}  // namespace tabulon::testing
