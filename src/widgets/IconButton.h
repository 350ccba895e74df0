// A push button that shows its icon above a caption that may wrap onto two lines.
#pragma once

#include <QPushButton>

namespace tabulon {

class IconButton : public QPushButton {
    Q_OBJECT
  public:
    IconButton(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tabulon
