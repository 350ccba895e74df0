// The look that both windows share: fixed-size frames, Arial bold and the push buttons.
#include "widgets/WindowStyle.h"

#include <QPushButton>

#include "widgets/Twips.h"

namespace tabulon {

QFont arialBold(double points) {
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void makeFixedWindow(QWidget& window, int widthTwips, int heightTwips) {
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.setFixedSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
    window.setFont(arialBold(kWindowFontPoints));
}

QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption,
                            QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(arialBold(kButtonFontPoints));
    return button;
}

}  // namespace tabulon
