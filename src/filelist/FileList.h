// The main window's file list: routes the list's events and the list buttons to their handlers.
#pragma once

#include <QObject>

#include "filelist/ListDrag.h"

namespace tabulon {

class Form1;

// Created by the main window once its controls exist. Every input that would change the list
// is ignored while an export runs.
class FileList : public QObject {
    Q_OBJECT
  public:
    explicit FileList(Form1& form);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool listEvent(QEvent* event);
    bool viewportEvent(QEvent* event);
    // Runs a handler that has no error trap of its own; a failure is reported under its label
    // and the program goes on.
    template <class Handler>
    void untrapped(const char* label, Handler&& handler);

    Form1& form_;
    ListDrag drag_;
};

}  // namespace tabulon
