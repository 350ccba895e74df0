// "Load Sample/Example Files": the sample workbooks installed beside the program.
#include "filelist/SampleFiles.h"

#include <QDir>

#include "app/Form1.h"
#include "core/ErrorTrap.h"
#include "core/util/ListFiles.h"
#include "widgets/ListView.h"

namespace tabulon {

// Unlike a folder add, nothing is filtered: "~" names and hidden files come in too.
void PushButton7_Click(Form1& form) {
    const Form1Services& services = form.services();
    ErrorTrap trap(services.errors, "Form1.PushButton7_Click");
    const QString samples = QDir::toNativeSeparators(services.programFolder + "/Samples/");
    std::optional<FileNameArray> names;
    trap.run(100, [&] { names = ListFiles(samples.toStdString(), "*.*"); });
    for (int i = 1; names && i <= names->upperBound(); ++i)
        trap.run(102,
                 [&] { form.ListView1->addItem(samples + QString::fromStdString((*names)[i])); });
    Answer answer = Answer::No;
    trap.run(104, [&] {
        answer = services.dialogs.messageBox(kOpenSamplesQuestion, Buttons::YesNo, Icon::None,
                                             kAppTitle);
    });
    if (trap.test(106, [&] { return answer == Answer::Yes; }))
        trap.run(108, [&] { services.dialogs.openFolder(samples.toStdString()); });
}

}  // namespace tabulon
