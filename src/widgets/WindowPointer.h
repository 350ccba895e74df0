// The pointer of a window: default, busy or the custom hand, switched by hovering its controls.
#pragma once

#include <QCursor>
#include <QObject>
#include <QString>
#include <optional>

#include "widgets/MousePointer.h"

class QWidget;

namespace tabulon {

// Moving over a hand control shows the custom pointer, moving over a plain control (or the
// window's own background) the default one; neither replaces the busy pointer.
class WindowPointer : public QObject {
    Q_OBJECT
  public:
    explicit WindowPointer(QWidget& window);

    // Loads the custom pointer from a .cur file; throws Error when the file is no pointer image.
    void loadCustom(const QString& path);
    void addHandControl(QWidget& control);
    void addPlainControl(QWidget& control);

    MousePointer value() const { return pointer_; }
    void set(MousePointer pointer);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watch(QWidget& control);
    void hover(MousePointer pointer);

    QWidget& window_;
    MousePointer pointer_ = MousePointer::Default;
    std::optional<QCursor> custom_;
};

}  // namespace tabulon
