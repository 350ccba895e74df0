// A main window with its file list, driven by events, and a scripted user who answers dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "ScriptedUi.h"
#include "SettingsSandbox.h"
#include "app/Form1.h"
#include "widgets/ListView.h"
#include "widgets/SettingsStore.h"

// Failed comparisons show list texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace tabulon::testing {

// The scripted user, who also notes the dialogs' titles, filters and proposed answers.
class RecordingUi : public ScriptedUi {
  public:
    struct OpenRequest {
        std::string title;
        std::string filter;
        bool multiSelect;
    };
    struct InputRequest {
        std::string prompt;
        std::string title;
        std::string defaultText;
    };
    std::vector<OpenRequest> openRequests;
    std::vector<InputRequest> inputRequests;
    std::vector<std::string> folderPrompts;

    std::vector<std::string> openFiles(const std::string& title, const std::string& filter,
                                       bool multiSelect) override {
        openRequests.push_back({title, filter, multiSelect});
        return ScriptedUi::openFiles(title, filter, multiSelect);
    }
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        inputRequests.push_back({prompt, title, defaultText});
        return ScriptedUi::inputBox(prompt, title, defaultText);
    }
    std::string browseForFolder(const std::string& prompt) override {
        folderPrompts.push_back(prompt);
        return ScriptedUi::browseForFolder(prompt);
    }
};

class FileListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<Form1>(Form1Services{ui, ui, settings, [] {}, programDir.path()});
        form->Form_Load();
        form->show();
        list = form->ListView1;
    }

    void fill(const QStringList& texts) {
        for (const QString& text : texts) list->addItem(text);
    }

    QStringList texts() const {
        QStringList all;
        for (int i = 1; i <= list->itemCount(); ++i) all << list->item(i).text();
        return all;
    }

    // The position of the selected entry, 0 when there is none.
    int selected() const {
        try {
            return list->selectedItem().index();
        } catch (const std::exception&) {
            return 0;
        }
    }

    static void click(QPushButton* button) { button->click(); }

    // The centre of the entry at a 1-based position, in the coordinates of the list's viewport.
    QPoint rowCentre(int position) const { return list->itemRect(position).center(); }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QWidget* viewport = list->viewport();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    void press(QPoint at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void moveHeld(QPoint at) { mouse(QEvent::MouseMove, at, Qt::LeftButton); }
    void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::NoButton); }
    void doubleClick(QPoint at) {
        press(at);
        release(at);
        mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        release(at);
    }
    void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent down(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(list, &down);
        QKeyEvent up(QEvent::KeyRelease, code, modifiers);
        QApplication::sendEvent(list, &up);
    }

    // Nothing was reported and no box was shown.
    void expectSilence() const {
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_TRUE(ui.boxes.empty());
    }

    SettingsSandbox sandbox;
    RecordingUi ui;
    SettingsStore settings;
    QTemporaryDir programDir;
    std::unique_ptr<Form1> form;
    ListView* list = nullptr;
};

}  // namespace tabulon::testing
