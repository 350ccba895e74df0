// The main window's file list: routes the list's events and the list buttons to their handlers.
#pragma once

#include <QObject>

#include "filelist/FileListHost.h"
#include "filelist/ListDrag.h"

namespace tabulon {

// Created by the window that holds the list once its controls exist, as a child of parent. Every
// input that would change the list is ignored while an export runs.
class FileList : public QObject {
    Q_OBJECT
  public:
    FileList(FileListHost& host, const FileListButtons& buttons, QObject* parent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool listEvent(QEvent* event);
    bool viewportEvent(QEvent* event);
    // Runs a handler that has no error trap of its own; a failure is reported under its label
    // and the program goes on.
    template <class Handler>
    void untrapped(const char* label, Handler&& handler);

    FileListHost& host_;
    ListDrag drag_;
};

}  // namespace tabulon
