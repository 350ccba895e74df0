// The look that both windows share: fixed-size frames, Arial bold and the push buttons.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace tabulon {

inline constexpr double kWindowFontPoints = 9;
inline constexpr double kButtonFontPoints = 11.25;

QFont arialBold(double points);

// A fixed-size window of the given client size in twips, with a minimise button and no
// maximise button, in the window font.
void makeFixedWindow(QWidget& window, int widthTwips, int heightTwips);

// A push button in the button font, named so that tests and styles find it.
QPushButton* makePushButton(QWidget* parent, const char* name, const QString& caption,
                            QRect geometry);

}  // namespace tabulon
