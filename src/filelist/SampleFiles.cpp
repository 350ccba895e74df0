// "Load Sample/Example Files": the sample workbooks installed beside the program.
#include "filelist/SampleFiles.h"

#include <QDir>

#include "core/ErrorTrap.h"
#include "core/util/ListFiles.h"
#include "filelist/FileListHost.h"
#include "widgets/ListView.h"

namespace tabulon {

// Unlike a folder add, nothing is filtered: "~" names and hidden files come in too.
void PushButton7_Click(FileListHost& host) {
    ErrorTrap trap(host.errors(), "Form1.PushButton7_Click");
    const QString samples = QDir::toNativeSeparators(host.programFolder() + "/Samples/");
    std::optional<FileNameArray> names;
    trap.run(100, [&] { names = ListFiles(samples.toStdString(), "*.*"); });
    for (int i = 1; names && i <= names->upperBound(); ++i)
        trap.run(102,
                 [&] { host.fileList().addItem(samples + QString::fromStdString((*names)[i])); });
    Answer answer = Answer::No;
    trap.run(104, [&] {
        answer =
            host.dialogs().messageBox(kOpenSamplesQuestion, Buttons::YesNo, Icon::None, kAppTitle);
    });
    if (trap.test(106, [&] { return answer == Answer::Yes; }))
        trap.run(108, [&] { host.dialogs().openFolder(samples.toStdString()); });
}

}  // namespace tabulon
