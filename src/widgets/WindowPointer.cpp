// The pointer of a window: default, busy or the custom hand, switched by hovering its controls.
#include "widgets/WindowPointer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

#include "core/Error.h"
#include "widgets/PointerFile.h"

namespace tabulon {
namespace {

constexpr const char* kHandProperty = "tabulonHandPointer";

}  // namespace

WindowPointer::WindowPointer(QWidget& window) : QObject(&window), window_(window) { watch(window); }

void WindowPointer::loadCustom(const QString& path) {
    custom_ = loadPointerFile(path);
    if (!custom_) throw Error("Invalid picture");
}

void WindowPointer::addHandControl(QWidget& control) {
    control.setProperty(kHandProperty, true);
    watch(control);
}

void WindowPointer::addPlainControl(QWidget& control) { watch(control); }

void WindowPointer::watch(QWidget& control) {
    control.setMouseTracking(true);
    control.installEventFilter(this);
}

void WindowPointer::set(MousePointer pointer) {
    // An export asks for the busy pointer at every row; one already shown is left as it is.
    if (pointer == MousePointer::Busy && pointer_ == MousePointer::Busy) return;
    pointer_ = pointer;
    switch (pointer) {
        case MousePointer::Busy:
            window_.setCursor(Qt::WaitCursor);
            break;
        case MousePointer::Arrow:
            window_.setCursor(Qt::ArrowCursor);
            break;
        case MousePointer::Custom:
            window_.setCursor(custom_.value_or(QCursor(Qt::ArrowCursor)));
            break;
        case MousePointer::Default:
            window_.unsetCursor();
            break;
    }
}

void WindowPointer::hover(MousePointer pointer) {
    if (pointer_ != MousePointer::Busy) set(pointer);
}

bool WindowPointer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    if (widget == &window_) {
        // Moves that child controls pass up to the window are theirs, not the background's.
        const auto* move = static_cast<QMouseEvent*>(event);
        if (window_.childAt(move->position().toPoint()) == nullptr) hover(MousePointer::Default);
    } else {
        hover(widget->property(kHandProperty).toBool() ? MousePointer::Custom
                                                       : MousePointer::Default);
    }
    return false;
}

}  // namespace tabulon
